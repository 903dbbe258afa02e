#include "views/widgets/LimitedLineEdit.h"

#include "model/TextUnits.h"

namespace furrow {

LimitedLineEdit::LimitedLineEdit(qsizetype limit, QWidget *parent)
    : QLineEdit(parent)
    , m_limit(limit)
{
    setFrame(false);
    connect(this, &QLineEdit::textChanged, this, &LimitedLineEdit::enforceLimit);
}

void LimitedLineEdit::enforceLimit(const QString &text)
{
    if (TextUnits::characterCount(text) <= m_limit)
        return;
    // setText moves the cursor to the end; keep it where the typing was.
    const int cursor = cursorPosition();
    const QString kept = TextUnits::leftCharacters(text, m_limit);
    setText(kept);
    setCursorPosition(std::min(cursor, int(kept.size())));
}

} // namespace furrow
