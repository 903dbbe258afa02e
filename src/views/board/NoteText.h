#pragma once

#include <QLabel>

namespace furrow {

// A task's note under its title: inline Markdown in small gray type, links live and tinted
// pine. Block syntax is shown as typed, so a note that starts with "#" or "-" stays text. A
// double click asks for the note editor.
class NoteText : public QLabel
{
    Q_OBJECT

public:
    explicit NoteText(QWidget *parent = nullptr);

    QString note() const { return m_note; }
    void setNote(const QString &note);

    // The note as rich text for the label. Raw HTML in the note is shown as text.
    static QString renderedHtml(const QString &note);
    // Whether a link of the note may be handed to the desktop: web and mail addresses only,
    // so that a note from an imported or synced file cannot start programs or open files.
    static bool isOpenableLink(const QUrl &url);

Q_SIGNALS:
    void editRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_note;
};

} // namespace furrow
