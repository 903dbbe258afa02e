#include "views/theme/FontLoader.h"

#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QtEndian>

#include <map>

namespace furrow::FontLoader {

namespace {

// A registered face: what QFont needs to select it. The Zilla Slab files disagree on their
// vendor id, so Qt splits the family into two foundries; a face is therefore chosen by family
// and weight, never by style or PostScript name.
struct Descriptor
{
    QString family;
    int weight = QFont::Normal;
};

std::map<QString, Descriptor> &descriptors()
{
    static std::map<QString, Descriptor> map;
    return map;
}

std::map<QString, QFont> &cache()
{
    static std::map<QString, QFont> map;
    return map;
}

quint16 read16(const QByteArray &data, qsizetype at)
{
    return qFromBigEndian<quint16>(data.constData() + at);
}

// Name id 6 of an OpenType "name" table, preferring the Windows (UTF-16) record.
QString postScriptName(const QByteArray &table)
{
    if (table.size() < 6)
        return {};
    const int count = read16(table, 2);
    const qsizetype strings = read16(table, 4);
    QString macName;
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        if (record + 12 > table.size())
            break;
        const quint16 platform = read16(table, record);
        const qsizetype length = read16(table, record + 8);
        const qsizetype offset = strings + read16(table, record + 10);
        if (read16(table, record + 6) != 6 || offset + length > table.size())
            continue;
        const char *text = table.constData() + offset;
        if (platform == 3) {
            QString name(length / 2, Qt::Uninitialized);
            for (qsizetype c = 0; c < name.size(); ++c)
                name[c] = QChar(qFromBigEndian<quint16>(text + 2 * c));
            return name;
        }
        if (platform == 1)
            macName = QString::fromLatin1(text, length);
    }
    return macName;
}

// The weight class of an OpenType "OS/2" table (400 regular, 500 medium, 600 semibold).
int weightClass(const QByteArray &table)
{
    return table.size() >= 6 ? read16(table, 4) : int(QFont::Normal);
}

QStringList bundledFontFiles()
{
    QStringList files;
    for (const QString &folder : {QStringLiteral(":/Fonts"), QStringLiteral(":/")}) {
        QDirIterator it(folder, {QStringLiteral("*.ttf")}, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!files.contains(path))
                files.append(path);
        }
    }
    return files;
}

void registerFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    const int id = QFontDatabase::addApplicationFontFromData(data);
    if (id < 0)
        return;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    const QRawFont raw(data, 12);
    const QString name = postScriptName(raw.fontTable("name"));
    if (families.isEmpty() || name.isEmpty())
        return;
    descriptors()[name] = {families.first(), weightClass(raw.fontTable("OS/2"))};
}

} // namespace

void registerBundledFonts()
{
    if (!descriptors().empty())
        return;
    for (const QString &path : bundledFontFiles())
        registerFile(path);
}

std::optional<QFont> font(const QString &name, qreal size)
{
    const QString key = name + u'-' + QString::number(size);
    if (const auto cached = cache().find(key); cached != cache().end())
        return cached->second;
    const auto found = descriptors().find(name);
    if (found == descriptors().end())
        return std::nullopt;
    QFont font(found->second.family);
    font.setWeight(QFont::Weight(found->second.weight));
    // Sizes are device-independent pixels; a point is 4/3 of one at Qt's reference 96 dpi, and a
    // point size keeps fractional sizes such as 12.5.
    font.setPointSizeF(size * 0.75);
    font.setStyleStrategy(QFont::PreferAntialias);
    cache().emplace(key, font);
    return font;
}

QStringList registeredNames()
{
    QStringList names;
    for (const auto &entry : descriptors())
        names.append(entry.first);
    return names;
}

qsizetype cachedFontCount()
{
    return qsizetype(cache().size());
}

} // namespace furrow::FontLoader
