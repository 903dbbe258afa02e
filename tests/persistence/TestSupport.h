#pragma once

#include "model/Instant.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

namespace furrow {

class ArchiveWriter;

namespace test {

// The instant written as internet date-time text; fails the test on bad text.
Instant at(const char *text);

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray expectedOutput(const char *name); // a file of the data folder

// Collects what the program writes to standard output while it lives.
class CapturedOutput
{
public:
    CapturedOutput();
    ~CapturedOutput();
    std::string text(); // stops capturing
private:
    bool m_capturing = true;
    std::string m_text;
};

// Makes a folder refuse new files for as long as it lives: by permissions, and for root (who
// ignores them) with the immutable attribute. isActive() is false where neither works.
class UnwritableFolder
{
public:
    explicit UnwritableFolder(const QString &path);
    ~UnwritableFolder();
    bool isActive() const { return m_active; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_active = false;
};

// Counts the writes an ArchiveWriter finishes, as the main thread sees them.
class WriteCounter
{
public:
    explicit WriteCounter(ArchiveWriter &writer);
    int count() const { return *m_count; }
    int failures() const { return *m_failures; }
    // Runs the event loop until `count` writes finished or the timeout passed.
    bool waitFor(int count, int timeoutMs = 5000);

private:
    std::shared_ptr<int> m_count = std::make_shared<int>(0);
    std::shared_ptr<int> m_failures = std::make_shared<int>(0);
};

} // namespace test
} // namespace furrow
