// One keystroke's reading of a 200-character capture text: the date and repeat grammar with
// project matching, and the same through the store as the fields call it (today from the clock
// and the user's setting read each time). The baseline is the project-only split of the same
// text that capture used before dates were read.

#include "model/InlineSyntax.h"
#include "model/PlannerStore.h"
#include "model/capture/CaptureParser.h"

#include <benchmark/benchmark.h>

namespace furrow {
namespace {

// 200 characters with a project word, a weekday list repeat, a date and words that start like
// months and weekdays.
QString typedText()
{
    const QString text = QStringLiteral(
        "Prepare the quarterly review deck for Marchant and the Sunday team, check the "
        "figures from Decembrist 22 twice, call #home about it every mon, wed from done and "
        "send the draft on 24 dec before the meeting ends");
    return text.left(200);
}

void inlineSyntaxBaseline(benchmark::State &state)
{
    const QString text = typedText();
    for (auto _ : state)
        benchmark::DoNotOptimize(InlineSyntax::parse(text));
}
BENCHMARK(inlineSyntaxBaseline)->Unit(benchmark::kMicrosecond);

void captureParser(benchmark::State &state)
{
    const QString text = typedText();
    CaptureContext context;
    context.today = QDate(2026, 12, 7);
    context.namesProject = [](const QString &token) {
        return token == u"home";
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(CaptureParser::read(text, context));
}
BENCHMARK(captureParser)->Unit(benchmark::kMicrosecond);

void storeReadCapture(benchmark::State &state)
{
    ModelContext context;
    for (int i = 0; i < 20; ++i)
        context.insert(std::make_shared<Project>(QStringLiteral("Project %1").arg(i),
                                                 Project::paletteHex(i), i));
    context.insert(std::make_shared<Project>(QStringLiteral("Home"), Project::paletteHex(0), 20));
    const PlannerStore store(context);
    const QString text = typedText();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.readCapture(text));
}
BENCHMARK(storeReadCapture)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace furrow
