#include "HotkeyTestSupport.h"

#include "../views/Rendering.h"
#include "hotkey/HotkeyPreference.h"
#include "model/ModelContext.h"
#include "views/settings/GnomeShortcut.h"
#include "views/settings/HotkeyRow.h"
#include "views/settings/SettingsWindow.h"
#include "views/settings/ShortcutTab.h"
#include "views/theme/FontLoader.h"
#include "views/widgets/StepLabel.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

const QString kPath = QStringLiteral(
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/furrow-quick-capture/");
const QString kBindingSchema
    = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding:") + kPath;

// A stand-in for `gsettings` that logs each call's arguments and keeps the list of custom
// bindings in a file.
class FakeGsettings
{
public:
    FakeGsettings()
    {
        QFile script(program());
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral(
                         "#!/bin/sh\n"
                         "echo \"$*\" >> '%1/log'\n"
                         "case \"$1 $3\" in\n"
                         "'get custom-keybindings') cat '%1/list' 2>/dev/null || echo '@as []' ;;\n"
                         "'set custom-keybindings') echo \"$4\" > '%1/list' ;;\n"
                         "esac\n")
                         .arg(m_folder.path())
                         .toUtf8());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    QString folder() const { return m_folder.path(); }
    QString program() const { return m_folder.filePath(QStringLiteral("gsettings")); }
    QStringList log() const
    {
        return read(QStringLiteral("log")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QString list() const { return read(QStringLiteral("list")).trimmed(); }
    void setList(const QByteArray &list) const
    {
        QFile file(m_folder.filePath(QStringLiteral("list")));
        file.open(QIODevice::WriteOnly);
        file.write(list);
    }

private:
    QString read(const QString &name) const
    {
        QFile file(m_folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_folder;
};

TEST(GnomeShortcutTest, addThenRemove_bindsTheCommandAndPutsTheListBack)
{
    FakeGsettings fake;
    fake.setList("['/custom0/']");
    GnomeShortcut gnome(fake.program());

    ASSERT_TRUE(gnome.add(HotkeyCombo::defaultCombo()));
    EXPECT_EQ(fake.list(), QStringLiteral("['/custom0/', '%1']").arg(kPath));
    const QStringList added = fake.log();
    EXPECT_TRUE(added.contains(QStringLiteral("set ") + kBindingSchema
                               + QStringLiteral(" name 'Furrow quick capture'")));
    EXPECT_TRUE(added.contains(QStringLiteral("set ") + kBindingSchema
                               + QStringLiteral(" command 'furrow --quick-capture'")));
    EXPECT_TRUE(added.contains(QStringLiteral("set ") + kBindingSchema
                               + QStringLiteral(" binding '<Control><Alt>space'")));

    // Adding again updates the keys without listing the path twice.
    ASSERT_TRUE(gnome.add(HotkeyCombo{40, HotkeyCombo::kSuper | HotkeyCombo::kShift}));
    EXPECT_EQ(fake.list(), QStringLiteral("['/custom0/', '%1']").arg(kPath));
    EXPECT_TRUE(fake.log().contains(QStringLiteral("set ") + kBindingSchema
                                    + QStringLiteral(" binding '<Shift><Super>k'")));

    ASSERT_TRUE(gnome.remove());
    EXPECT_EQ(fake.list(), QStringLiteral("['/custom0/']"));
    for (const char *key : {" name", " command", " binding"})
        EXPECT_TRUE(
            fake.log().contains(QStringLiteral("reset ") + kBindingSchema + QLatin1String(key)));
}

TEST(ShortcutTabTest, unsupportedDesktop_showsTheCommandAndCopiesIt)
{
    const test::ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray("KDE"));
    ShortcutTab tab([](const HotkeyCombo &) { return HotkeyStatus::Taken; }, false);
    const auto *command = tab.findChild<QLabel *>(QStringLiteral("quickCaptureCommand"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QStringLiteral("furrow --quick-capture"));
    EXPECT_TRUE(command->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(tab.findChild<QPushButton *>(QStringLiteral("gnomeShortcut")), nullptr);

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(tab.findChild<QPushButton *>(QStringLiteral("copyCommand")), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("furrow --quick-capture"));
}

TEST(ShortcutTabTest, onGnome_theButtonAddsAndRemovesTheBinding)
{
    FakeGsettings fake;
    const test::ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray("ubuntu:GNOME"));
    const test::ScopedEnv path(
        "PATH", (fake.folder() + QStringLiteral(":") + qEnvironmentVariable("PATH")).toUtf8());
    ShortcutTab tab([](const HotkeyCombo &) { return HotkeyStatus::Taken; }, false);
    auto *button = tab.findChild<QPushButton *>(QStringLiteral("gnomeShortcut"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Add to GNOME's shortcuts"));
    EXPECT_TRUE(fake.log().isEmpty());

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(fake.list(), QStringLiteral("['%1']").arg(kPath));
    EXPECT_EQ(button->text(), QStringLiteral("Remove from GNOME's shortcuts"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(fake.list(), QStringLiteral("[]"));
    EXPECT_EQ(button->text(), QStringLiteral("Add to GNOME's shortcuts"));
}

TEST(ShortcutTabTest, tab_isRenderedInTheSettingsWindowIdleAndRecordingForReview)
{
    FontLoader::registerBundledFonts();
    HotkeyPreference::setCombo(HotkeyCombo::defaultCombo());
    const test::ScopedEnv desktop("XDG_CURRENT_DESKTOP", QByteArray("GNOME"));
    ModelContext context;
    for (const bool supported : {true, false}) {
        SettingsWindow window(context, {});
        auto *tab = new ShortcutTab([](const HotkeyCombo &) { return HotkeyStatus::Registered; },
                                    supported);
        window.setTabContent(SettingsTab::Shortcut, tab);
        const auto captionAt = [&window](SettingsTab shown) {
            window.showTab(shown);
            QCoreApplication::processEvents();
            return window.tabContent(shown)->findChild<StepLabel *>()->mapTo(&window, QPoint());
        };
        window.show();
        // Inset like the window's own tabs, not against its edge.
        const QPoint projects = captionAt(SettingsTab::Projects);
        EXPECT_EQ(captionAt(SettingsTab::Shortcut), projects);
        const QString name = supported ? QStringLiteral("shortcut-tab")
                                       : QStringLiteral("shortcut-tab-unsupported");
        EXPECT_FALSE(QImage(saveRendering(&window, name)).isNull());
        tab->findChild<HotkeyRow *>()->startRecording();
        EXPECT_FALSE(QImage(saveRendering(&window, name + QStringLiteral("-recording"))).isNull());
    }
}

} // namespace
} // namespace furrow
