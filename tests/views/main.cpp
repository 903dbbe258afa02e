#include "TestHome.h"

#include "views/theme/FontLoader.h"
#include "views/theme/Theme.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const furrow::test::TestHome home;
    // Widgets settle at once; the tests that check an animation turn motion back on.
    qputenv("FURROW_REDUCE_MOTION", "1");
    QApplication app(argc, argv);
    furrow::FontLoader::registerBundledFonts();
    furrow::Theme::applyToApplication();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
