#include "views/settings/HotkeyRow.h"
#include "hotkey/HotkeyPreference.h"
#include "hotkey/HotkeyState.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

const HotkeyCombo kCtrlShiftJ{38, HotkeyCombo::kControl | HotkeyCombo::kShift};

// A window holding the row and a text field that stands for the rest of the application; the
// apply callback records what it is given and answers `answer`.
class HotkeyRowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_stored = HotkeyPreference::combo();
        HotkeyPreference::setCombo(kCtrlShiftJ);
        HotkeyState::setStatus(HotkeyStatus::Registered);
        auto *layout = new QVBoxLayout(&window);
        field = new QLineEdit(&window);
        field->setObjectName(QStringLiteral("other"));
        layout->addWidget(field);
        row = new HotkeyRow(
            [this](const HotkeyCombo &combo) {
                applied.push_back(combo);
                return answer;
            },
            HotkeyStatus::Registered, true, &window);
        layout->addWidget(row);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }

    void TearDown() override
    {
        HotkeyPreference::setCombo(m_stored);
        HotkeyState::setStatus(HotkeyStatus::Registered);
    }

    QPushButton *button() const
    {
        return row->findChild<QPushButton *>(QStringLiteral("hotkeyButton"));
    }
    QString status() const
    {
        return row->findChild<QLabel *>(QStringLiteral("hotkeyStatus"))->text();
    }

    void record() { QTest::mouseClick(button(), Qt::LeftButton); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : &window, key, modifiers);
    }

    QWidget window;
    QLineEdit *field = nullptr;
    HotkeyRow *row = nullptr;
    std::vector<HotkeyCombo> applied;
    HotkeyStatus answer = HotkeyStatus::Registered;

private:
    HotkeyCombo m_stored;
};

TEST_F(HotkeyRowTest, bareKeysModifiersUnknownKeysAndEsc_changeNothing)
{
    record();
    press(Qt::Key_K);
    press(Qt::Key_Control, Qt::ControlModifier);
    press(Qt::Key_Alt, Qt::AltModifier);
    press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(row->isRecording());
    EXPECT_EQ(field->text(), QString());

    // Esc, with or without modifiers, only ends recording.
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier),
          Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier)}) {
        if (!row->isRecording())
            record();
        press(Qt::Key_Escape, modifiers);
        EXPECT_FALSE(row->isRecording());
    }
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(HotkeyPreference::combo(), kCtrlShiftJ);
    EXPECT_EQ(button()->text(), QStringLiteral("Ctrl+Shift+J"));
}

TEST_F(HotkeyRowTest, altK_isStoredRegisteredAndAnnounced)
{
    HotkeyState::setStatus(HotkeyStatus::Unregistered);
    record();
    press(Qt::Key_K, Qt::AltModifier);

    const HotkeyCombo altK{40, 0x800};
    EXPECT_FALSE(row->isRecording());
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], altK);
    EXPECT_EQ(HotkeyPreference::combo(), altK);
    EXPECT_EQ(button()->text(), QStringLiteral("Alt+K"));
    EXPECT_EQ(status(), QStringLiteral("Works from any app"));
    EXPECT_EQ(HotkeyState::status(), HotkeyStatus::Registered);
}

TEST_F(HotkeyRowTest, reservedCombination_isShownButNeitherStoredNorRegistered)
{
    record();
    press(Qt::Key_Space, Qt::AltModifier);
    EXPECT_FALSE(row->isRecording());
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(HotkeyPreference::combo(), kCtrlShiftJ);
    EXPECT_EQ(HotkeyState::status(), HotkeyStatus::Registered);
    EXPECT_EQ(button()->text(), QStringLiteral("Alt+Space"));
    EXPECT_EQ(status(), QStringLiteral("This one belongs to the desktop. Pick another."));
}

TEST_F(HotkeyRowTest, takenCombination_isStoredAndSaysSo)
{
    answer = HotkeyStatus::Taken;
    record();
    press(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(HotkeyPreference::combo(),
              (HotkeyCombo{17, HotkeyCombo::kControl | HotkeyCombo::kAlt}));
    EXPECT_EQ(HotkeyState::status(), HotkeyStatus::Taken);
    EXPECT_EQ(status(), QStringLiteral("Shortcut is taken by another app"));

    // A registration elsewhere (at start-up) is followed.
    row->showStatus(HotkeyStatus::Registered);
    EXPECT_EQ(status(), QStringLiteral("Works from any app"));
}

TEST_F(HotkeyRowTest, desktopThatAsks_showsWaitingThenItsAnswer_refusalApartFromTaken)
{
    answer = HotkeyStatus::Waiting;
    record();
    press(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(status(), QStringLiteral("Waiting for the desktop to confirm…"));

    // The answer arrives later, passed on by whoever owns the hotkey.
    const auto announce = [this](HotkeyStatus settled) {
        row->showStatus(settled);
    };
    announce(HotkeyStatus::Refused);
    EXPECT_EQ(status(), QStringLiteral("The desktop did not allow this shortcut"));
    announce(HotkeyStatus::Taken);
    EXPECT_EQ(status(), QStringLiteral("Shortcut is taken by another app"));
    announce(HotkeyStatus::Registered);
    EXPECT_EQ(status(), QStringLiteral("Works from any app"));
}

TEST_F(HotkeyRowTest, shiftWithADigitOrSymbol_isRecordedByTheKeyPressed)
{
    // With Shift, Qt reports the symbol the key types; the key's scan code names the key.
    const struct
    {
        Qt::Key typed;
        quint32 scanCode;
        HotkeyCombo combo;
        const char *shown;
    } cases[] = {
        {Qt::Key_Exclam, 10, {18, HotkeyCombo::kControl | HotkeyCombo::kShift}, "Ctrl+Shift+1"},
        {Qt::Key_Underscore, 20, {27, HotkeyCombo::kControl | HotkeyCombo::kShift}, "Ctrl+Shift+-"},
    };
    for (const auto &[typed, scanCode, combo, shown] : cases) {
        record();
        QKeyEvent key(QEvent::KeyPress, typed, Qt::ControlModifier | Qt::ShiftModifier, scanCode, 0,
                      0);
        QApplication::sendEvent(QApplication::focusWidget(), &key);
        EXPECT_FALSE(row->isRecording()) << shown;
        EXPECT_EQ(HotkeyPreference::combo(), combo) << shown;
        EXPECT_EQ(button()->text(), QString::fromLatin1(shown));
    }
}

TEST_F(HotkeyRowTest, whileRecording_noKeyOrShortcutReachesTheApplication)
{
    int triggered = 0;
    auto *action = new QAction(&window);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
    press(Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(triggered, 1);

    record();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), QString());
    press(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
    EXPECT_EQ(HotkeyPreference::combo(), (HotkeyCombo{37, HotkeyCombo::kControl}));
}

TEST_F(HotkeyRowTest, hidingTheWindowWhileRecording_removesTheFilter)
{
    record();
    window.hide();
    EXPECT_FALSE(row->isRecording());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(field->text(), QStringLiteral("a"));

    record();
    delete row;
    QTest::keyClick(field, Qt::Key_B);
    EXPECT_EQ(field->text(), QStringLiteral("ab"));
}

} // namespace
} // namespace furrow
