// The main() of the benchmark programs that measure widgets: an offscreen Qt application (unless
// a platform is asked for) with the planner's fonts and theme, and no animations.

#include "views/theme/FontLoader.h"
#include "views/theme/Theme.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("FURROW_REDUCE_MOTION", "1");
    QApplication app(argc, argv);
    furrow::FontLoader::registerBundledFonts();
    furrow::Theme::applyToApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
