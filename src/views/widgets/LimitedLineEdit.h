#pragma once

#include <QLineEdit>

namespace furrow {

// A plain one-line field that holds at most `limit` characters as the user sees them
// (grapheme clusters, not UTF-16 units): longer text, typed or pasted, is cut to its first
// `limit` characters as it arrives.
class LimitedLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit LimitedLineEdit(qsizetype limit, QWidget *parent = nullptr);

    qsizetype limit() const { return m_limit; }

private:
    void enforceLimit(const QString &text);

    qsizetype m_limit;
};

} // namespace furrow
