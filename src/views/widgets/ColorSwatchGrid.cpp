#include "views/widgets/ColorSwatchGrid.h"

#include "views/theme/TailwindPalette.h"
#include "views/theme/Theme.h"
#include "views/widgets/StepLabel.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

namespace {

// One rounded colour square; checked means chosen.
class Swatch : public QAbstractButton
{
public:
    Swatch(const QString &name, const QColor &color, QWidget *parent)
        : QAbstractButton(parent)
        , m_color(color)
    {
        setToolTip(name);
        setAccessibleName(name);
        setCheckable(true);
        setAutoExclusive(true);
        setFixedSize(28, 28);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF square = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        painter.drawRoundedRect(square, 7, 7);
        const bool focused = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
        if (isChecked() || focused || underMouse()) {
            // An ink ring with a card-coloured gap inside, readable on dark and light swatches.
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Theme::card, 2));
            painter.drawRoundedRect(square.adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
            const QColor ring = isChecked() ? Theme::ink : Theme::withOpacity(Theme::ink, 0.35);
            painter.setPen(QPen(ring, 1.5));
            painter.drawRoundedRect(square.adjusted(0.75, 0.75, -0.75, -0.75), 6.5, 6.5);
        }
    }

private:
    QColor m_color;
};

} // namespace

ColorSwatchGrid::ColorSwatchGrid(const QString &selectedHex, int columns, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(new StepLabel(QStringLiteral("COLOUR")));
    auto *grid = new QGridLayout;
    grid->setSpacing(8);
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addLayout(grid);

    struct Entry
    {
        QString name, hex;
    };
    QList<Entry> entries;
    for (const TailwindPalette::Swatch &swatch : TailwindPalette::swatches())
        entries.append({swatch.name, swatch.hex});
    if (!TailwindPalette::name(selectedHex))
        entries.append({QStringLiteral("Current"), selectedHex});

    for (const Entry &entry : entries) {
        const QColor color = Theme::colorFromHex(entry.hex).value_or(Theme::muted);
        auto *swatch = new Swatch(entry.name, color, this);
        swatch->setChecked(entry.hex.compare(selectedHex, Qt::CaseInsensitive) == 0);
        const auto index = m_swatches.size();
        grid->addWidget(swatch, int(index / columns), int(index % columns));
        m_swatches.append(swatch);
        const QString hex = entry.hex;
        connect(swatch, &QAbstractButton::clicked, this, [this, hex] { Q_EMIT picked(hex); });
    }
}

} // namespace furrow
