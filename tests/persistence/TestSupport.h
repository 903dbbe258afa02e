#pragma once

#include "model/Clock.h"
#include "persistence/InternetTime.h"

#include <QFile>

namespace furrow::test {

// The instant written as internet date-time text.
inline Instant at(const char *text)
{
    return InternetTime::parse(text).value();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace furrow::test
