#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/InternetTime.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace furrow::test {

Instant at(const char *text)
{
    const auto instant = InternetTime::parse(text);
    EXPECT_TRUE(instant.has_value()) << text;
    return instant.value_or(Instant{});
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray expectedOutput(const char *name)
{
    return readFile(QStringLiteral(FURROW_TEST_DATA_DIR "/") + QString::fromUtf8(name));
}

CapturedOutput::CapturedOutput()
{
    testing::internal::CaptureStdout();
}

CapturedOutput::~CapturedOutput()
{
    text();
}

std::string CapturedOutput::text()
{
    if (m_capturing) {
        m_capturing = false;
        m_text = testing::internal::GetCapturedStdout();
    }
    return m_text;
}

namespace {

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

UnwritableFolder::UnwritableFolder(const QString &path)
    : m_path(path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0)
        m_active = true;
    else
        m_active = m_immutable = setImmutable(path, true);
}

UnwritableFolder::~UnwritableFolder()
{
    if (m_immutable)
        setImmutable(m_path, false);
    QFile::setPermissions(m_path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

WriteCounter::WriteCounter(ArchiveWriter &writer)
{
    // Queued to the main thread: the writer emits on its worker.
    QObject::connect(
        &writer, &ArchiveWriter::writeFinished, &writer,
        [count = m_count, failures = m_failures](bool succeeded) {
            ++*count;
            if (!succeeded)
                ++*failures;
        },
        Qt::QueuedConnection);
}

bool WriteCounter::waitFor(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return *m_count >= count; }, timeoutMs);
}

} // namespace furrow::test
