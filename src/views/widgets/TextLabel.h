#pragma once

#include <QLabel>

namespace furrow {

// A one-font, one-colour label. An elided label keeps to one line and ends in "…" when it is
// narrower than its text, so it can shrink inside a row.
class TextLabel : public QLabel
{
    Q_OBJECT

public:
    TextLabel(const QString &text, const QFont &font, const QColor &color,
              QWidget *parent = nullptr);

    void setColor(const QColor &color);
    QColor color() const;

    void setElided(bool elided);
    bool isElided() const { return m_elided; }
    // The text as drawn: an elided label's text cut to its width and ended with "…".
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_elided = false;
};

} // namespace furrow
