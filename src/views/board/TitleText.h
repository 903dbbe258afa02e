#pragma once

#include <QTextLayout>
#include <QWidget>

namespace furrow {

// A task's title, wrapping onto as many lines as it needs. An open title is in ink and can
// carry the note dot; a done title is muted and struck through, and lets clicks pass to its
// row. A click on an open title asks for the editor; pulling it asks to start a drag.
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

Q_SIGNALS:
    void clicked();
    void dragRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Lays the text out for `width` unless it already is; returns the height it takes.
    qreal layoutFor(qreal width) const;
    void invalidate();

    QString m_text;
    bool m_done = false;
    bool m_noteDot = false;
    mutable QTextLayout m_layout;
    mutable qreal m_laidOutWidth = -1;
    mutable qreal m_laidOutHeight = 0;
    QPoint m_pressPos;
    bool m_pressed = false;
};

} // namespace furrow
