#include "Log.h"

#include <cstdio>

namespace furrow {

void logLine(const QString &message)
{
    const QByteArray line = (QStringLiteral("Furrow: ") + message + u'\n').toUtf8();
    // One call per line keeps lines whole when the backup thread logs at the same time.
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    std::fflush(stdout);
}

} // namespace furrow
