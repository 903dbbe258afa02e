#pragma once

#include <QTextLayout>
#include <QWidget>

#include <array>

namespace furrow {

// A task's title, wrapping onto as many lines as it needs. An open title is in ink and can
// carry the note dot; a done title is muted and struck through, and lets clicks pass to its
// row. A click on an open title asks for the editor at the place clicked; pulling it asks to
// start a drag.
class TitleText : public QWidget
{
    Q_OBJECT

public:
    explicit TitleText(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    bool isDone() const { return m_done; }
    void setDone(bool done);
    bool showsNoteDot() const { return m_noteDot; }
    void setNoteDot(bool shown);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The character before which a click at `point` puts the cursor.
    int positionAt(const QPointF &point);

Q_SIGNALS:
    // A click, with the character before which it fell.
    void clicked(int position);
    void dragRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The width the text takes on one line, with room for the note dot; measured once.
    qreal naturalWidth() const;
    // Lays the text out in `layout` for `width`; returns the height it takes.
    qreal lay(QTextLayout &layout, qreal width) const;
    // Lays out the text that is painted, for the widget's width, unless it already is.
    void layoutForPaint();
    void invalidate();

    QString m_text;
    bool m_done = false;
    bool m_noteDot = false;
    QTextLayout m_layout;
    qreal m_laidOutWidth = -1;
    // Heights for the last few widths asked: layouts ask for the same few widths over and
    // over, and shaping 300 titles each time would cost whole frames.
    mutable std::array<std::pair<int, int>, 4> m_heights{};
    mutable std::size_t m_nextHeight = 0;
    mutable qreal m_naturalWidth = -1;
    QPoint m_pressPos;
    bool m_pressed = false;
};

} // namespace furrow
