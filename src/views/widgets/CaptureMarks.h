#pragma once

#include "model/capture/CaptureReading.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace furrow {

// Tints in a capture field the phrases that filing will take out of its text (project, due day,
// repeat), says them in the field's accessible description, and lets Backspace right after a
// marked phrase, or Ctrl+Z, turn it back into plain text until the field is emptied.
class CaptureMarks : public QObject
{
    Q_OBJECT

public:
    using Reader = std::function<CaptureReading(const QString &text, const QStringList &refused)>;

    CaptureMarks(QLineEdit *field, Reader reader);
    CaptureMarks(QPlainTextEdit *field, Reader reader);

    const CaptureReading &reading() const { return m_reading; }
    // The phrases the user turned back into text, to be passed on when the text is filed.
    const QStringList &refused() const { return m_refused; }
    // Reads the text again, say after the projects changed.
    void refresh();
    // Keeps the due and repeat phrases now in the field as plain text: a title saved earlier
    // holds only words the user chose to keep.
    void keepDatesAsText();

Q_SIGNALS:
    void readingChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CaptureMarks(QWidget *field, Reader reader);
    QString text() const;
    int cursorPosition() const;
    bool hasSelection() const;
    void followText();
    bool refuseBeforeCursor();
    bool refuseLast();
    void refuse(const TakenRange &range);
    void paint();
    void paintInLine(QLineEdit *line);
    void paintInEditor(QPlainTextEdit *editor);

    QWidget *m_field;
    Reader m_reader;
    CaptureReading m_reading;
    QStringList m_refused;
};

} // namespace furrow
