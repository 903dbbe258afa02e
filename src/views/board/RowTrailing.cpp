#include "views/board/RowTrailing.h"

#include "views/theme/Icon.h"
#include "views/theme/Theme.h"
#include "views/widgets/ProjectTag.h"

#include <QLabel>

namespace furrow {

namespace {
constexpr int kInfoGap = 8;
constexpr int kMinHeight = 24;
} // namespace

RowTrailing::RowTrailing(QWidget *parent)
    : QWidget(parent)
    , m_due(new QLabel(this))
    , m_bell(new QLabel(this))
    , m_tag(new ProjectTag(this))
{
    m_due->setObjectName(QStringLiteral("dueLabel"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_due->hide();
    m_bell->setObjectName(QStringLiteral("reminderBell"));
    m_bell->setAccessibleName(QStringLiteral("Reminder set"));
    m_bell->hide();
    m_tag->hide();
    m_tag->setToolTip(QStringLiteral("Change the project"));
    connect(m_tag, &QAbstractButton::clicked, this, &RowTrailing::tagClicked);
}

void RowTrailing::setDue(const QString &text, bool overdue)
{
    if (text.isEmpty() && m_due->isHidden())
        return;
    m_due->setText(text);
    m_due->setVisible(!text.isEmpty());
    m_due->setFont(Theme::sans(12, overdue ? QFont::Medium : QFont::Normal));
    QPalette colors = m_due->palette();
    colors.setColor(QPalette::WindowText, overdue ? Theme::clay : Theme::muted);
    m_due->setPalette(colors);
    m_due->adjustSize();
    updateGeometry();
    place();
}

void RowTrailing::setReminderPending(bool pending)
{
    if (pending == m_bell->isVisibleTo(this))
        return;
    if (pending)
        m_bell->setPixmap(
            Icon::pageIcon(QStringLiteral("bell"), 11, Theme::muted, devicePixelRatioF()));
    m_bell->setVisible(pending);
    m_bell->adjustSize();
    updateGeometry();
    place();
}

void RowTrailing::setProject(bool shown, const QString &name, const QColor &color)
{
    m_tag->setProject(name, color);
    m_tag->setVisible(shown);
    m_tag->adjustSize();
    updateGeometry();
    place();
}

void RowTrailing::setControls(QWidget *controls, int width)
{
    delete m_controls;
    m_controls = controls;
    m_controls->setParent(this);
    m_controls->setVisible(m_shown);
    setControlsWidth(width);
}

void RowTrailing::removeControls()
{
    delete std::exchange(m_controls, nullptr);
}

void RowTrailing::setControlsWidth(int width)
{
    if (width == m_controlsWidth)
        return;
    m_controlsWidth = width;
    updateGeometry();
    place();
}

void RowTrailing::setControlsShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (m_controls)
        m_controls->setVisible(shown);
    place();
}

int RowTrailing::infoWidth() const
{
    int width = 0;
    for (const QWidget *info :
         {static_cast<const QWidget *>(m_bell), static_cast<const QWidget *>(m_due),
          static_cast<const QWidget *>(m_tag)}) {
        if (info->isVisibleTo(this))
            width += (width ? kInfoGap : 0) + info->sizeHint().width();
    }
    return width;
}

QSize RowTrailing::sizeHint() const
{
    const int info = infoWidth();
    const int height
        = std::max({kMinHeight, m_due->sizeHint().height(), m_tag->sizeHint().height()});
    return {info + (info ? kSpacing : 0) + m_controlsWidth, height};
}

void RowTrailing::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void RowTrailing::place()
{
    int right = width() - (m_shown ? m_controlsWidth + kSpacing : 0);
    for (QWidget *info : {static_cast<QWidget *>(m_tag), static_cast<QWidget *>(m_due),
                          static_cast<QWidget *>(m_bell)}) {
        if (!info->isVisibleTo(this))
            continue;
        const QSize size = info->sizeHint();
        info->setGeometry(right - size.width(), (height() - size.height()) / 2, size.width(),
                          size.height());
        right -= size.width() + kInfoGap;
    }
    if (m_controls)
        m_controls->setGeometry(width() - m_controlsWidth, (height() - kMinHeight) / 2,
                                m_controlsWidth, kMinHeight);
}

} // namespace furrow
