#pragma once

#include <QString>

#include <optional>

namespace furrow {

// The project syntax of capture text: a word "#name", or "#" followed by a name in straight
// double quotes for names with spaces.
namespace InlineSyntax {

struct Parsed
{
    QString title;
    std::optional<QString> projectToken; // exactly as written; matching is matchProject's job
};

// A title is one line: every line break in typed or pasted text (CR LF, CR, LF, vertical tab,
// form feed, next line, line and paragraph separators) becomes one space.
QString oneLine(const QString &text);

// Splits text into a title and the first project token. The quoted form wins wherever it
// stands; otherwise the first hash word. Every hash word leaves the title.
Parsed parse(const QString &text);

// The inverse of parse: the title followed by the project's token, when there is a name.
QString compose(const QString &title, const std::optional<QString> &projectName);

// The project name being typed at the very end of the text ("Buy #ho" gives "ho"), if any.
std::optional<QString> trailingProjectFragment(const QString &text);

// The key under which project names and tokens are compared: lower case, hyphens and low
// lines as spaces, spaces and tabs trimmed at both ends.
QString normalizedKey(const QString &text);

} // namespace InlineSyntax
} // namespace furrow
