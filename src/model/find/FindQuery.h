#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace furrow {

// What the user typed into the find field: the folded words that must each start a word of a
// result, and the project named with the capture syntax ("#home", or "#" and a quoted name).
struct FindQuery
{
    std::vector<QString> words;
    std::optional<QString> projectToken;

    static FindQuery parse(const QString &text);
    bool isEmpty() const { return words.empty() && !projectToken; }
};

} // namespace furrow
