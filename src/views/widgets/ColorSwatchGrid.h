#pragma once

#include <QWidget>

class QAbstractButton;

namespace furrow {

// The project colour picker: a "COLOUR" caption over a grid of the palette's swatches, the
// chosen one outlined. A colour outside the palette appears as an extra "Current" swatch so
// that it stays visible and choosable.
class ColorSwatchGrid : public QWidget
{
    Q_OBJECT

public:
    explicit ColorSwatchGrid(const QString &selectedHex, int columns = 6,
                             QWidget *parent = nullptr);

    // The swatches in grid order; the selected one is checked, its tool tip names it.
    QList<QAbstractButton *> swatches() const { return m_swatches; }

Q_SIGNALS:
    void picked(const QString &hex);

private:
    QList<QAbstractButton *> m_swatches;
};

} // namespace furrow
