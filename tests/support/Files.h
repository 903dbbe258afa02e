#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace furrow::test {

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &path);

// Replaces the file's contents; a file that cannot be opened is left alone.
void writeFile(const QString &path, const QByteArray &bytes);

// The permission bits of the file, or 0 when it does not exist.
mode_t modeOf(const QString &path);

} // namespace furrow::test
