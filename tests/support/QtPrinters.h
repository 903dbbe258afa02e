#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt values in GoogleTest failure messages.
QT_BEGIN_NAMESPACE
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const QStringList &list, std::ostream *out);
QT_END_NAMESPACE
