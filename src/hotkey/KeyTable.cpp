#include "KeyTable.h"

#include <Qt>

#include <array>
#include <vector>

namespace furrow::KeyTable {

namespace {

struct Entry
{
    quint32 keyCode;
    int qtKey;
    quint32 keysym;
    QString name;
    // The XKB keycode of the key on a US keyboard, for keys whose shifted symbol Qt reports
    // instead of the key; 0 for the others.
    quint32 scanCode = 0;
};

struct SymbolKey
{
    quint32 keyCode;
    char symbol;
    const char *name;
    quint32 scanCode;
};

constexpr quint32 kKeysymReturn = 0xff0d;
constexpr quint32 kKeysymTab = 0xff09;
constexpr quint32 kKeysymEscape = 0xff1b;
constexpr quint32 kKeysymF1 = 0xffbe;

// Key codes of the letters A–Z and of the digits 1–9 and 0.
constexpr std::array<quint32, 26> kLetterCodes{0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                               45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
constexpr std::array<quint32, 10> kDigitCodes{18, 19, 20, 21, 23, 22, 26, 28, 25, 29};
constexpr std::array<quint32, 12> kFunctionCodes{122, 120, 99,  118, 96,  97,
                                                 98,  100, 101, 109, 103, 111};
// The XKB keycode of "1"; the digit row runs on to "0".
constexpr quint32 kDigitRowScanCode = 10;
// The punctuation keys; their Qt keys and keysyms are their characters.
constexpr std::array<SymbolKey, 11> kSymbolKeys{{
    {27, '-', "minus", 20},
    {24, '=', "equal", 21},
    {33, '[', "bracketleft", 34},
    {30, ']', "bracketright", 35},
    {41, ';', "semicolon", 47},
    {39, '\'', "apostrophe", 48},
    {50, '`', "grave", 49},
    {42, '\\', "backslash", 51},
    {43, ',', "comma", 59},
    {47, '.', "period", 60},
    {44, '/', "slash", 61},
}};

std::vector<Entry> buildTable()
{
    std::vector<Entry> table;
    for (int i = 0; i < 26; ++i) {
        const char lower = static_cast<char>('a' + i);
        table.push_back({kLetterCodes[i], Qt::Key_A + i, quint32(lower), QString(QChar(lower))});
    }
    for (int i = 0; i < 10; ++i) {
        const char digit = static_cast<char>('0' + (i + 1) % 10);
        table.push_back({kDigitCodes[i], digit, quint32(digit), QString(QChar(digit)),
                         kDigitRowScanCode + quint32(i)});
    }
    for (const SymbolKey &key : kSymbolKeys) {
        table.push_back({key.keyCode, key.symbol, quint32(key.symbol),
                         QString::fromLatin1(key.name), key.scanCode});
    }
    for (int i = 0; i < 12; ++i) {
        table.push_back({kFunctionCodes[i], Qt::Key_F1 + i, kKeysymF1 + i,
                         QStringLiteral("F") + QString::number(i + 1)});
    }
    table.push_back({36, Qt::Key_Return, kKeysymReturn, QStringLiteral("Return")});
    table.push_back({48, Qt::Key_Tab, kKeysymTab, QStringLiteral("Tab")});
    table.push_back({49, Qt::Key_Space, 0x20, QStringLiteral("space")});
    table.push_back({53, Qt::Key_Escape, kKeysymEscape, QStringLiteral("Escape")});
    table.push_back({123, Qt::Key_Left, 0xff51, QStringLiteral("Left")});
    table.push_back({124, Qt::Key_Right, 0xff53, QStringLiteral("Right")});
    table.push_back({125, Qt::Key_Down, 0xff54, QStringLiteral("Down")});
    table.push_back({126, Qt::Key_Up, 0xff52, QStringLiteral("Up")});
    return table;
}

const std::vector<Entry> &table()
{
    static const std::vector<Entry> entries = buildTable();
    return entries;
}

const Entry *findByCode(quint32 keyCode)
{
    for (const Entry &entry : table()) {
        if (entry.keyCode == keyCode)
            return &entry;
    }
    return nullptr;
}

} // namespace

std::optional<quint32> keyCodeForQtKey(int qtKey)
{
    // Shift+Tab reaches Qt as Backtab.
    if (qtKey == Qt::Key_Backtab)
        qtKey = Qt::Key_Tab;
    for (const Entry &entry : table()) {
        if (entry.qtKey == qtKey)
            return entry.keyCode;
    }
    return std::nullopt;
}

std::optional<quint32> keyCodeForScanCode(quint32 scanCode)
{
    for (const Entry &entry : table()) {
        if (scanCode != 0 && entry.scanCode == scanCode)
            return entry.keyCode;
    }
    return std::nullopt;
}

std::optional<quint32> keyCodeForKeysym(quint32 keysym)
{
    // The shifted keysyms of letters are their upper-case forms.
    if (keysym >= 'A' && keysym <= 'Z')
        keysym += 'a' - 'A';
    for (const Entry &entry : table()) {
        if (entry.keysym == keysym)
            return entry.keyCode;
    }
    return std::nullopt;
}

quint32 keysymFor(quint32 keyCode)
{
    const Entry *entry = findByCode(keyCode);
    return entry ? entry->keysym : 0;
}

QString keysymName(quint32 keyCode)
{
    const Entry *entry = findByCode(keyCode);
    return entry ? entry->name : QString();
}

std::optional<QChar> characterFor(quint32 keyCode)
{
    for (int i = 0; i < 26; ++i) {
        if (kLetterCodes[i] == keyCode)
            return QChar(static_cast<char16_t>(u'A' + i));
    }
    // The digits and symbols are the keys whose Qt key is a printable character.
    const Entry *entry = findByCode(keyCode);
    if (entry && entry->qtKey > 0x20 && entry->qtKey < 0x7f)
        return QChar(static_cast<char16_t>(entry->qtKey));
    return std::nullopt;
}

} // namespace furrow::KeyTable
