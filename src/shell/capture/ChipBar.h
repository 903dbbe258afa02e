#pragma once

#include <QScrollArea>
#include <QUuid>

#include <vector>

class QHBoxLayout;

namespace furrow {

class CaptureChip;
class Project;

// The capture panel's row of project chips: "No project" first, then one chip per project,
// the current choice selected. It scrolls sideways (the wheel too) and shows no scroll bars.
// From the keyboard the bar is one Tab stop, at the current choice: the arrows move along the
// chips and Return or Space picks one.
class ChipBar : public QScrollArea
{
    Q_OBJECT

public:
    explicit ChipBar(QWidget *parent = nullptr);

    // Shows these projects, in order, and selects the chip of `choice` (a null id is
    // "No project"; an id not among them selects nothing).
    void setChoices(const std::vector<Project *> &projects, const QUuid &choice);
    std::vector<CaptureChip *> chips() const;

Q_SIGNALS:
    // A chip was clicked: the project's id, or a null id for "No project".
    void picked(const QUuid &projectId);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateFades();
    CaptureChip *addChip(CaptureChip *chip, const QUuid &projectId, const QUuid &choice);
    // Makes the chip at `index` the bar's Tab stop, and gives it the focus when asked.
    void moveFocus(std::size_t index, bool focus);

    QWidget *m_content;
    QHBoxLayout *m_layout;
    std::vector<CaptureChip *> m_chips;
    QWidget *m_leftFade;
    QWidget *m_rightFade;
};

} // namespace furrow
