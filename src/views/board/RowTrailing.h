#pragma once

#include "model/Instant.h"

#include <QWidget>

class QLabel;

namespace furrow {

class ProjectTag;

// The trailing end of a task row: a bell while a reminder is pending, the due label and the
// project tag, then the row's hover
// controls. The controls' width is always reserved, so the title never rewraps on hover;
// while they are hidden the information slides over to the row's right edge.
class RowTrailing : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSpacing = 12;

    explicit RowTrailing(QWidget *parent = nullptr);

    // The due label's text (empty for none) and whether it is overdue.
    void setDue(const QString &text, bool overdue);
    // The small bell before the due label while a reminder is pending.
    void setReminderPending(bool pending);
    // The project tag, when `shown`.
    void setProject(bool shown, const QString &name, const QColor &color);
    // The controls widget, `width` wide; the zone takes ownership and deletes any earlier one.
    void setControls(QWidget *controls, int width);
    void removeControls();
    void setControlsWidth(int width);
    void setControlsShown(bool shown);

    QWidget *controls() const { return m_controls; }
    bool controlsShown() const { return m_shown; }
    ProjectTag *tag() const { return m_tag; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void tagClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int infoWidth() const;
    void place();

    QLabel *m_due;
    QLabel *m_bell;
    ProjectTag *m_tag;
    QWidget *m_controls = nullptr;
    int m_controlsWidth = 0;
    bool m_shown = false;
};

} // namespace furrow
