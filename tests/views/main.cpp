#include "views/FontLoader.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    furrow::FontLoader::registerBundledFonts();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
