#include "shell/capture/ChipBar.h"

#include "model/Project.h"
#include "shell/capture/CaptureChip.h"
#include "views/theme/Theme.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace furrow {

namespace {

constexpr int kSpacing = 6;
constexpr int kFadeWidth = 28;

// A strip over one end of the bar that fades the chips into the card while more of them lie
// beyond that end.
class EdgeFade : public QWidget
{
public:
    EdgeFade(Qt::Edge edge, QWidget *parent)
        : QWidget(parent)
        , m_edge(edge)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool right = m_edge == Qt::RightEdge;
        QLinearGradient gradient(right ? 0 : width(), 0, right ? width() : 0, 0);
        gradient.setColorAt(0, Theme::withOpacity(Theme::card, 0));
        gradient.setColorAt(1, Theme::card);
        painter.fillRect(rect(), gradient);
    }

private:
    Qt::Edge m_edge;
};

} // namespace

ChipBar::ChipBar(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QHBoxLayout(m_content))
    , m_leftFade(new EdgeFade(Qt::LeftEdge, this))
    , m_rightFade(new EdgeFade(Qt::RightEdge, this))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    viewport()->setAutoFillBackground(false);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(kSpacing);
    m_layout->addStretch(1);
    setWidget(m_content);
    m_content->setAutoFillBackground(false);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &ChipBar::updateFades);
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, &ChipBar::updateFades);
    updateFades();
}

void ChipBar::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    m_leftFade->setGeometry(0, 0, kFadeWidth, height());
    m_rightFade->setGeometry(width() - kFadeWidth, 0, kFadeWidth, height());
}

void ChipBar::updateFades()
{
    const QScrollBar *bar = horizontalScrollBar();
    m_leftFade->setVisible(bar->value() > bar->minimum());
    m_rightFade->setVisible(bar->value() < bar->maximum());
    m_leftFade->raise();
    m_rightFade->raise();
}

void ChipBar::setChoices(const std::vector<Project *> &projects, const QUuid &choice)
{
    const bool hadFocus = std::any_of(m_chips.begin(), m_chips.end(),
                                      [](const CaptureChip *chip) { return chip->hasFocus(); });
    // Chips go later, not now: this may run inside the click handler of one of them.
    for (CaptureChip *chip : m_chips) {
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    addChip(new CaptureChip(QStringLiteral("No project"), std::nullopt), QUuid(), choice);
    for (const Project *project : projects) {
        const QColor color = Theme::colorFromHex(project->colorHex()).value_or(Theme::muted);
        addChip(new CaptureChip(project->name(), color), project->id(), choice);
    }
    const auto current = std::find_if(m_chips.begin(), m_chips.end(),
                                      [](const CaptureChip *chip) { return chip->isChecked(); });
    moveFocus(current == m_chips.end() ? 0 : std::size_t(current - m_chips.begin()), hadFocus);
    // The chips get their places when the layout runs, on the next turn.
    QTimer::singleShot(0, this, [this] {
        for (CaptureChip *chip : m_chips) {
            if (chip->isChecked())
                ensureWidgetVisible(chip, kSpacing, 0);
        }
    });
}

CaptureChip *ChipBar::addChip(CaptureChip *chip, const QUuid &projectId, const QUuid &choice)
{
    chip->setObjectName(QStringLiteral("captureChip"));
    chip->setChecked(projectId == choice);
    // A chip reflects the choice; the click asks for it, and the bar is rebuilt to show it.
    connect(chip, &QAbstractButton::clicked, this, [this, chip, projectId] {
        chip->setChecked(!chip->isChecked());
        Q_EMIT picked(projectId);
    });
    chip->installEventFilter(this);
    m_layout->insertWidget(m_layout->count() - 1, chip);
    chip->show();
    m_chips.push_back(chip);
    return chip;
}

void ChipBar::moveFocus(std::size_t index, bool focus)
{
    for (std::size_t i = 0; i < m_chips.size(); ++i)
        m_chips[i]->setFocusPolicy(i == index ? Qt::TabFocus : Qt::NoFocus);
    if (focus) {
        m_chips[index]->setFocus(Qt::TabFocusReason);
        ensureWidgetVisible(m_chips[index], kSpacing, 0);
    }
}

bool ChipBar::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = std::find(m_chips.begin(), m_chips.end(), watched);
    if (found == m_chips.end() || event->type() != QEvent::KeyPress)
        return QScrollArea::eventFilter(watched, event);
    const auto index = std::size_t(found - m_chips.begin());
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Left:
        moveFocus(index > 0 ? index - 1 : index, true);
        return true;
    case Qt::Key_Right:
        moveFocus(std::min(index + 1, m_chips.size() - 1), true);
        return true;
    case Qt::Key_Home:
        moveFocus(0, true);
        return true;
    case Qt::Key_End:
        moveFocus(m_chips.size() - 1, true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        (*found)->click();
        return true;
    default:
        return QScrollArea::eventFilter(watched, event);
    }
}

std::vector<CaptureChip *> ChipBar::chips() const
{
    return m_chips;
}

void ChipBar::wheelEvent(QWheelEvent *event)
{
    // A plain mouse wheel turns vertically; the bar only scrolls sideways.
    const QPoint delta = event->angleDelta();
    const int steps = delta.x() != 0 ? delta.x() : delta.y();
    QScrollBar *bar = horizontalScrollBar();
    bar->setValue(bar->value() - steps * bar->singleStep() / 40);
    event->accept();
}

} // namespace furrow
