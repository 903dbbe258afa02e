// Runs arbitrary capture text through the project syntax and matches its token against a few
// projects, as the capture field does while typing and on submit.
#include "model/InlineSyntax.h"
#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "model/Project.h"

#include <cstddef>
#include <cstdint>

namespace {

furrow::PlannerStore &store()
{
    static furrow::ModelContext context;
    static furrow::PlannerStore instance = [] {
        const QStringList names
            = {QStringLiteral("Home"), QStringLiteral("Home office"), QStringLiteral("Straße"),
               QStringLiteral("été-2025"), QStringLiteral("\u0130stanbul")};
        for (qsizetype index = 0; index < names.size(); ++index)
            context.insert(std::make_shared<furrow::Project>(
                names[index], furrow::Project::paletteHex(index), index));
        return furrow::PlannerStore(context);
    }();
    return instance;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace furrow;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const InlineSyntax::Parsed parsed = InlineSyntax::parse(InlineSyntax::oneLine(text));
    (void)InlineSyntax::compose(parsed.title, parsed.projectToken);
    if (parsed.projectToken)
        (void)store().matchProject(*parsed.projectToken);
    if (const auto fragment = InlineSyntax::trailingProjectFragment(text))
        (void)InlineSyntax::normalizedKey(*fragment);
    return 0;
}
