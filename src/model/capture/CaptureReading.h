#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace furrow {

// A stretch of capture text that the reading took out of the title, in the text's own positions.
struct TakenRange
{
    enum class Kind { Due, Repeat, Project };
    Kind kind;
    qsizetype start;
    qsizetype length;
    qsizetype end() const { return start + length; }
};

// What one capture text says: the title that remains and what was read out of it.
struct CaptureReading
{
    QString title;
    std::optional<QString> projectToken; // as written; only a token that names a project
    std::optional<QDate> dueDay;
    QString repeatRule; // RRULE text; empty when the text asks for no repeat
    bool repeatFromDone = false;
    std::vector<TakenRange> taken; // by position
};

} // namespace furrow
