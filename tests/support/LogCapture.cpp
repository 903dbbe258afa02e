#include "LogCapture.h"

#include <utility>

namespace furrow::test {

LogCapture::LogCapture()
    : m_previous(setLogSink([this](const QString &line) {
        const std::lock_guard lock(m_mutex);
        m_lines += line.toStdString() + '\n';
    }))
{}

LogCapture::~LogCapture()
{
    setLogSink(std::move(m_previous));
}

std::string LogCapture::take()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_lines, {});
}

} // namespace furrow::test
