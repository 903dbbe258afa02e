#include "views/settings/TabPillBar.h"

#include "views/widgets/PillButton.h"

#include <QHBoxLayout>
#include <QKeyEvent>

namespace furrow {

TabPillBar::TabPillBar(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (SettingsTab tab : SettingsTabs::all) {
        auto *pill = new PillButton(SettingsTabs::title(tab), PillButton::Kind::Quiet, this);
        pill->setObjectName(QStringLiteral("tab") + SettingsTabs::title(tab));
        pill->setCompact(true);
        pill->setCheckable(true);
        pill->setFocusPolicy(Qt::StrongFocus);
        pill->installEventFilter(this);
        connect(pill, &QAbstractButton::clicked, this, [this, tab] { pick(tab); });
        m_pills[std::size_t(tab)] = pill;
        row->addWidget(pill);
    }
    row->addStretch(1);
    setCurrent(SettingsTab::Projects);
}

PillButton *TabPillBar::pill(SettingsTab tab) const
{
    return m_pills[std::size_t(tab)];
}

void TabPillBar::setCurrent(SettingsTab tab)
{
    m_current = tab;
    for (SettingsTab each : SettingsTabs::all) {
        PillButton *button = pill(each);
        // The selected pill reads as a resting normal pill; the others stay quiet until hovered.
        button->setKind(each == tab ? PillButton::Kind::Normal : PillButton::Kind::Quiet);
        button->setChecked(each == tab);
    }
}

void TabPillBar::pick(SettingsTab tab)
{
    setCurrent(tab);
    Q_EMIT picked(tab);
}

bool TabPillBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const auto found = std::find(m_pills.begin(), m_pills.end(), watched);
    if (found == m_pills.end() || key->modifiers() & ~Qt::KeypadModifier)
        return QWidget::eventFilter(watched, event);
    const auto index = int(found - m_pills.begin());
    const int count = int(m_pills.size());
    int target = -1;
    switch (key->key()) {
    case Qt::Key_Left:
        target = (index + count - 1) % count;
        break;
    case Qt::Key_Right:
        target = (index + 1) % count;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        target = index;
        break;
    default:
        return QWidget::eventFilter(watched, event);
    }
    m_pills[std::size_t(target)]->setFocus(Qt::TabFocusReason);
    pick(SettingsTabs::all[std::size_t(target)]);
    return true;
}

} // namespace furrow
