#pragma once

// Readable failure messages for the types the sync tests compare.

#include "sync/wire/SyncValue.h"

#include <QString>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace furrow {

inline void PrintTo(const SyncValue &value, std::ostream *out)
{
    switch (value.kind()) {
    case SyncValue::Kind::Text:
        *out << "text " << '"' << value.asText().toStdString() << '"';
        return;
    case SyncValue::Kind::Number:
        *out << "number " << value.asNumber();
        return;
    case SyncValue::Kind::Flag:
        *out << "flag " << (value.asFlag() ? "true" : "false");
        return;
    case SyncValue::Kind::Blank:
        *out << "blank";
        return;
    }
}

} // namespace furrow
