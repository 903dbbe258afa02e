#include "shell/AppIconState.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace furrow;

namespace {

QImage shownImage()
{
    return QGuiApplication::windowIcon().pixmap(256).toImage().convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
}

QImage resourceImage(const QString &name)
{
    return QImage(QStringLiteral(":/AppIcon/") + name)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

class AppIconStateTest : public testing::Test
{
protected:
    void SetUp() override { AppIconState::setImageFolder(QStringLiteral(":/AppIcon")); }
    void TearDown() override { AppIconState::setImageFolder(QStringLiteral(":/AppIcon")); }
};

} // namespace

TEST_F(AppIconStateTest, levels_showThePlainIconThenTheStateImages)
{
    const QImage plain = resourceImage(QStringLiteral("furrow.png"));
    ASSERT_FALSE(plain.isNull());
    AppIconState::apply(0, true);
    EXPECT_EQ(AppIconState::current(), 0);
    EXPECT_EQ(shownImage(), plain);
    for (int closed : {1, 2, 3}) {
        AppIconState::apply(closed, false);
        EXPECT_EQ(AppIconState::current(), closed);
        EXPECT_EQ(shownImage(), resourceImage(QStringLiteral("icon-state-%1.png").arg(closed)));
    }
    AppIconState::apply(9, true);
    EXPECT_EQ(AppIconState::current(), 3);
    AppIconState::apply(-4, false);
    EXPECT_EQ(AppIconState::current(), 0);
}

TEST_F(AppIconStateTest, missingOrUnreadableImage_showsThePlainIconAndIsTriedAgain)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString two = folder.filePath(QStringLiteral("icon-state-2.png"));
    QFile::copy(QStringLiteral(":/AppIcon/icon-state-1.png"),
                folder.filePath(QStringLiteral("icon-state-1.png")));
    AppIconState::setImageFolder(folder.path());
    const QImage plain = resourceImage(QStringLiteral("furrow.png"));

    AppIconState::apply(2, true);
    EXPECT_EQ(shownImage(), plain);

    QFile garbage(two);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture");
    garbage.close();
    AppIconState::apply(1, false);
    AppIconState::apply(2, false);
    EXPECT_EQ(shownImage(), plain);

    QFile::remove(two);
    QFile::copy(QStringLiteral(":/AppIcon/icon-state-2.png"), two);
    AppIconState::apply(1, false);
    AppIconState::apply(2, false);
    EXPECT_EQ(shownImage(), resourceImage(QStringLiteral("icon-state-2.png")));
}
