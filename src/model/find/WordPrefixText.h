#pragma once

#include "FoldedText.h"

#include <optional>

namespace furrow {

// A text that folded query words are looked for at word starts. Most texts are plain ASCII,
// where folding only lowers letters and every word starts after a character that is no ASCII
// letter or digit: those are searched as they are, without building a folded copy; any other
// text is folded once, on first use. The text must outlive this.
class WordPrefixText
{
public:
    explicit WordPrefixText(const QString &text);

    // Whether `word` (folded) is found at the start of some word of the text, exactly as in
    // the text's folded form.
    bool containsWordPrefix(const QString &word) const;

private:
    const QString &m_text;
    bool m_ascii;
    mutable std::optional<FoldedText> m_folded;
};

} // namespace furrow
