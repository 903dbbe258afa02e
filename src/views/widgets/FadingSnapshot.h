#pragma once

#include <QPixmap>
#include <QWidget>

namespace furrow {

class EasedValue;

// A picture of a widget as it looked, laid over it and faded out, so that a change of the
// widget's content eases in instead of jumping. It deletes itself when it has faded.
class FadingSnapshot : public QWidget
{
    Q_OBJECT

public:
    // Covers `target` with its current picture, fading out with an ease-out over `durationMs`;
    // does nothing while motion is reduced.
    static void cover(QWidget *target, int durationMs);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    FadingSnapshot(QWidget *target, int durationMs);

    QPixmap m_picture;
    EasedValue *m_opacity;
};

} // namespace furrow
