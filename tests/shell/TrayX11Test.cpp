#include "Windows.h"
#include "model/ModelContext.h"
#include "shell/tray/TrayController.h"
#include "shell/tray/TrayPanel.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

// A tray host on the test's X display for the life of the object.
class TrayHost
{
public:
    TrayHost() { m_process.start(QStringLiteral("trayer"), {}); }
    ~TrayHost()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    bool started() { return m_process.waitForStarted(); }

private:
    QProcess m_process;
};

// The icon's place once the host has embedded it; Qt reports the origin before that.
bool isPlaced(const QSystemTrayIcon *icon)
{
    return icon && icon->isVisible() && !icon->geometry().isEmpty()
           && !icon->geometry().topLeft().isNull();
}

TEST(TrayX11Test, iconAppearsWhenAHostStartsLater_andAClickOpensThePanel)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")
        || QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
        GTEST_SKIP() << "needs an X display and trayer";
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "a tray host is already running";

    ModelContext context;
    TrayController tray(
        context, [] {}, [] {});
    QTest::qWait(200); // time for an icon to appear, which it must not without a host
    EXPECT_EQ(tray.findChild<QSystemTrayIcon *>(u"trayIcon"_s), nullptr);

    TrayHost host;
    ASSERT_TRUE(host.started());
    const int patience = TrayController::kAvailabilityPollMs * 3;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return isPlaced(tray.findChild<QSystemTrayIcon *>(u"trayIcon"_s)); }, patience));
    EXPECT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());

    // A real click on the icon where the host shows it.
    const QPoint spot = tray.findChild<QSystemTrayIcon *>(u"trayIcon"_s)->geometry().center();
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(spot.x()),
                       QString::number(spot.y()), QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return test::topLevel<TrayPanel>(u"trayPanel"_s)->isVisible(); }, 5000));
    const QRect panel = test::topLevel<TrayPanel>(u"trayPanel"_s)->frameGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(panel)) << "panel outside the screen";
    EXPECT_LT(std::abs(panel.center().x() - spot.x()), TrayPanel::kWidth);
    test::topLevel<TrayPanel>(u"trayPanel"_s)->hide();
}

} // namespace
} // namespace furrow
