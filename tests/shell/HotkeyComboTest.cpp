#include "hotkey/HotkeyPreference.h"
#include "hotkey/KeyTable.h"
#include "hotkey/PortalGlobalHotKey.h"
#include "model/UserDefaults.h"

#include <gtest/gtest.h>

using namespace furrow;

namespace {

constexpr quint32 kCtrl = HotkeyCombo::kControl;
constexpr quint32 kAlt = HotkeyCombo::kAlt;
constexpr quint32 kShift = HotkeyCombo::kShift;
constexpr quint32 kSuper = HotkeyCombo::kSuper;

class HotkeyPreferenceTest : public testing::Test
{
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear()
    {
        const auto defaults = UserDefaults::open();
        defaults->remove(QStringLiteral("hotkey.keyCode"));
        defaults->remove(QStringLiteral("hotkey.modifiers"));
    }

    static void store(const QString &key, const QVariant &value)
    {
        const auto defaults = UserDefaults::open();
        defaults->setValue(key, value);
        defaults->sync();
    }
};

} // namespace

TEST(HotkeyComboTest, display_writesModifiersInFixedOrderThenTheKeyName)
{
    const struct
    {
        HotkeyCombo combo;
        const char *text;
    } cases[] = {
        {HotkeyCombo::defaultCombo(), "Ctrl+Alt+Space"},
        {{40, 0}, "K"},
        {{49, kSuper | kShift | kAlt | kCtrl}, "Ctrl+Alt+Shift+Super+Space"},
        {{122, kCtrl}, "Ctrl+Key 122"},
        {{0, kSuper}, "Super+A"},
        {{18, kCtrl | kShift}, "Ctrl+Shift+1"},
        {{29, kAlt}, "Alt+0"},
        {{42, kCtrl}, "Ctrl+\\"},
    };
    for (const auto &[combo, text] : cases)
        EXPECT_EQ(combo.display(), QString::fromLatin1(text)) << text;
}

TEST(HotkeyComboTest, reserved_areTheDesktopsOwnSpaceBarCombinations)
{
    for (const quint32 mask : {kAlt, kSuper, kCtrl, kCtrl | kSuper})
        EXPECT_TRUE((HotkeyCombo{49, mask}.isReserved())) << mask;
    EXPECT_FALSE(HotkeyCombo::defaultCombo().isReserved());
    EXPECT_FALSE((HotkeyCombo{49, 0}.isReserved()));
    EXPECT_FALSE((HotkeyCombo{49, kAlt | kSuper}.isReserved()));
    EXPECT_FALSE((HotkeyCombo{40, kAlt}.isReserved()));
}

TEST(HotkeyComboTest, modifiersFrom_ignoresLocksKeypadAndGroupSwitch)
{
    EXPECT_EQ(HotkeyCombo::modifiersFrom(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier
                                         | Qt::MetaModifier),
              0x1b00u);
    EXPECT_EQ(HotkeyCombo::modifiersFrom(Qt::MetaModifier | Qt::ShiftModifier | Qt::KeypadModifier
                                         | Qt::GroupSwitchModifier),
              0x300u);
    EXPECT_EQ(HotkeyCombo::modifiersFrom(Qt::NoModifier), 0u);
}

TEST(HotkeyComboTest, fromQtKey_mapsTheTableAndRefusesOtherKeys)
{
    const struct
    {
        int qtKey;
        quint32 keyCode;
    } cases[] = {
        {Qt::Key_A, 0},        {Qt::Key_1, 18},   {Qt::Key_Space, 49},
        {Qt::Key_Backtab, 48}, {Qt::Key_F1, 122}, {Qt::Key_Up, 126},
    };
    for (const auto &[qtKey, keyCode] : cases) {
        const auto combo = HotkeyCombo::fromQtKey(qtKey, Qt::AltModifier);
        ASSERT_TRUE(combo.has_value()) << qtKey;
        EXPECT_EQ(*combo, (HotkeyCombo{keyCode, kAlt})) << qtKey;
    }
    for (const int qtKey : {int(Qt::Key_Exclam), int(Qt::Key_Home), int(Qt::Key_Enter),
                            int(Qt::Key_F13), int(Qt::Key_Shift)})
        EXPECT_FALSE(HotkeyCombo::fromQtKey(qtKey, Qt::ControlModifier).has_value()) << qtKey;

    // A shifted digit or symbol is found by its scan code; the Qt key still wins where the
    // layout puts the digit on the shifted level.
    EXPECT_EQ(HotkeyCombo::fromQtKey(Qt::Key_Exclam, Qt::ShiftModifier, 10),
              (HotkeyCombo{18, kShift}));
    EXPECT_EQ(HotkeyCombo::fromQtKey(Qt::Key_Question, Qt::ShiftModifier, 61),
              (HotkeyCombo{44, kShift}));
    EXPECT_EQ(HotkeyCombo::fromQtKey(Qt::Key_1, Qt::ShiftModifier, 11), (HotkeyCombo{18, kShift}));
    EXPECT_FALSE(HotkeyCombo::fromQtKey(Qt::Key_Home, Qt::ShiftModifier, 110).has_value());
}

TEST_F(HotkeyPreferenceTest, keyCodeWithoutModifiers_readsAsNoModifiers)
{
    store(QStringLiteral("hotkey.keyCode"), 40);
    EXPECT_EQ(HotkeyPreference::combo(), (HotkeyCombo{40, 0}));
}

TEST_F(HotkeyPreferenceTest, valuesOutsideUnsigned32Bits_fallBackToTheDefault)
{
    const QVariant bad[] = {QVariant(-1), QVariant(qlonglong(4294967296)),
                            QVariant(QStringLiteral("space")), QVariant(QStringLiteral("1.5"))};
    for (const QVariant &value : bad) {
        store(QStringLiteral("hotkey.keyCode"), value);
        store(QStringLiteral("hotkey.modifiers"), 0x1000);
        EXPECT_EQ(HotkeyPreference::combo(), HotkeyCombo::defaultCombo())
            << value.toString().toStdString();
        store(QStringLiteral("hotkey.keyCode"), 40);
        store(QStringLiteral("hotkey.modifiers"), value);
        EXPECT_EQ(HotkeyPreference::combo(), HotkeyCombo::defaultCombo())
            << value.toString().toStdString();
    }
}
