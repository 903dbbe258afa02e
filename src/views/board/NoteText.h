#pragma once

#include <QTextDocument>
#include <QWidget>

#include <array>

namespace furrow {

// A task's note under its title: inline Markdown in small gray type, links live and tinted
// pine. Block syntax is shown as typed, so a note that starts with "#" or "-" stays text. A
// double click asks for the note editor.
class NoteText : public QWidget
{
    Q_OBJECT

public:
    explicit NoteText(QWidget *parent = nullptr);

    QString note() const { return m_note; }
    void setNote(const QString &note);
    // The note as shown, without formatting.
    QString plainText() const { return m_document.toPlainText(); }
    // The link under a point of the widget, or an empty text.
    QString linkAt(const QPoint &position) const;

    // Fills `document` with the note. Raw HTML in the note is shown as text.
    static void render(QTextDocument &document, const QString &note);
    // The same as rich text.
    static QString renderedHtml(const QString &note);
    // Whether a link of the note may be handed to the desktop: web and mail addresses only,
    // so that a note from an imported or synced file cannot start programs or open files.
    static bool isOpenableLink(const QUrl &url);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

Q_SIGNALS:
    void editRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Lays the document out for `width` unless it already is.
    void layoutFor(qreal width) const;

    QString m_note;
    mutable QTextDocument m_document;
    mutable qreal m_laidOutWidth = -1;
    // Heights for the last few widths asked, as layouts ask for the same ones again and again.
    mutable std::array<std::pair<int, int>, 4> m_heights{};
    mutable std::size_t m_nextHeight = 0;
    QString m_pressedLink;
};

} // namespace furrow
