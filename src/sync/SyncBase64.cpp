#include "SyncBase64.h"

#include <array>

namespace furrow::SyncBase64 {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr qint8 kInvalid = -1;

constexpr std::array<qint8, 128> makeDecodeTable()
{
    std::array<qint8, 128> table{};
    table.fill(kInvalid);
    for (int i = 0; i < 64; ++i)
        table[std::size_t(kAlphabet[i])] = qint8(i);
    return table;
}

constexpr std::array<qint8, 128> kDecode = makeDecodeTable();

int sextet(QChar c)
{
    return c.unicode() < 128 ? kDecode[c.unicode()] : kInvalid;
}

} // namespace

QString encode(QByteArrayView bytes)
{
    QByteArray out((bytes.size() + 2) / 3 * 4, Qt::Uninitialized);
    char *to = out.data();
    const auto byteAt = [&](qsizetype i) {
        return quint32(quint8(bytes[i]));
    };
    qsizetype i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const quint32 group = byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6)
            *to++ = kAlphabet[(group >> shift) & 0x3f];
    }
    const qsizetype rest = bytes.size() - i;
    if (rest > 0) {
        const quint32 group = byteAt(i) << 16 | (rest == 2 ? byteAt(i + 1) << 8 : 0);
        *to++ = kAlphabet[group >> 18];
        *to++ = kAlphabet[(group >> 12) & 0x3f];
        *to++ = rest == 2 ? kAlphabet[(group >> 6) & 0x3f] : '=';
        *to++ = '=';
    }
    return QString::fromLatin1(out);
}

std::optional<QByteArray> decode(QStringView text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() / 4 * 3);
    for (qsizetype i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        // "=" may only fill the end of the last group: "xx==" or "xxx=".
        const int fill = last && text[i + 3] == u'=' ? (text[i + 2] == u'=' ? 2 : 1) : 0;
        quint32 group = 0;
        for (int k = 0; k < 4; ++k) {
            const int value = k < 4 - fill ? sextet(text[i + k]) : 0;
            if (value == kInvalid)
                return std::nullopt;
            group = group << 6 | quint32(value);
        }
        out += char(group >> 16);
        if (fill < 2)
            out += char(group >> 8);
        if (fill < 1)
            out += char(group);
    }
    return out;
}

} // namespace furrow::SyncBase64
