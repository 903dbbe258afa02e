#include <QCoreApplication>

#include <gtest/gtest.h>

#include <ctime>

int main(int argc, char **argv)
{
    // Day boundaries in these tests are written for this zone.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
