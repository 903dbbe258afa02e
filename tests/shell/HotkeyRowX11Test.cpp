#include "shell/hotkey/HotkeyPreference.h"
#include "shell/hotkey/X11GlobalHotKey.h"
#include "shell/settings/HotkeyRow.h"

#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

// On Qt's xcb platform (under Xvfb: ctest's shell_hotkey_x11): a combination recorded in the
// row is the one the desktop then delivers from anywhere.
TEST(HotkeyRowX11Test, recordedCombination_firesGlobally)
{
    xcb_connection_t *connection = X11GlobalHotKey::applicationConnection();
    if (!connection)
        GTEST_SKIP() << "Qt does not run on X11";
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    ASSERT_FALSE(xdotool.isEmpty()) << "xdotool is missing";

    const auto restore
        = qScopeGuard([stored = HotkeyPreference::combo()] { HotkeyPreference::setCombo(stored); });
    X11GlobalHotKey hotkey(connection);
    bool fired = false;
    HotkeyRow row(
        [&](const HotkeyCombo &combo) {
            return hotkey.registerCombo(combo, [&fired] { fired = true; });
        },
        false, true);
    row.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&row));
    auto *button = row.findChild<QPushButton *>(QStringLiteral("hotkeyButton"));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_FALSE(row.isRecording());
    ASSERT_TRUE(hotkey.isRegistered());
    EXPECT_EQ(HotkeyPreference::combo(),
              (HotkeyCombo{40, HotkeyCombo::kControl | HotkeyCombo::kAlt}));

    ASSERT_EQ(QProcess::execute(xdotool, {QStringLiteral("key"), QStringLiteral("ctrl+alt+k")}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&fired] { return fired; }, 3000));
    hotkey.unregister();
}

} // namespace
} // namespace furrow
