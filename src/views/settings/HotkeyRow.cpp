#include "HotkeyRow.h"

#include "hotkey/HotkeyPreference.h"
#include "hotkey/HotkeyState.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/TextLabel.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>

namespace furrow {

namespace {

QString statusText(HotkeyStatus status)
{
    switch (status) {
    case HotkeyStatus::Registered:
        return QStringLiteral("Works from any app");
    case HotkeyStatus::Waiting:
        return QStringLiteral("Waiting for the desktop to confirm…");
    case HotkeyStatus::Refused:
        return QStringLiteral("The desktop did not allow this shortcut");
    case HotkeyStatus::Taken:
    case HotkeyStatus::Unregistered:
        break;
    }
    return QStringLiteral("Shortcut is taken by another app");
}

} // namespace

HotkeyRow::HotkeyRow(Apply apply, HotkeyStatus status, bool supported, QWidget *parent)
    : QWidget(parent)
    , m_apply(std::move(apply))
    , m_combo(HotkeyPreference::combo())
    , m_hotkey(status)
    , m_supported(supported)
    , m_button(new PillButton(QString(), PillButton::Kind::Normal, this))
    , m_status(new TextLabel(QString(), Theme::small(), Theme::muted, this))
{
    setObjectName(QStringLiteral("hotkeyRow"));
    m_button->setObjectName(QStringLiteral("hotkeyButton"));
    m_status->setObjectName(QStringLiteral("hotkeyStatus"));
    m_status->setWordWrap(true);

    auto *line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(
        new TextLabel(QStringLiteral("Quick capture"), Theme::body(), Theme::ink, this));
    line->addStretch(1);
    line->addWidget(m_button);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(line);
    layout->addWidget(m_status);

    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_recording)
            stopRecording();
        else
            startRecording();
    });
    refresh();
}

HotkeyRow::~HotkeyRow()
{
    stopRecording();
}

void HotkeyRow::startRecording()
{
    if (m_recording)
        return;
    m_recording = true;
    qApp->installEventFilter(this);
    refresh();
}

void HotkeyRow::stopRecording()
{
    if (!m_recording)
        return;
    m_recording = false;
    qApp->removeEventFilter(this);
    refresh();
}

bool HotkeyRow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepting it keeps menu and window shortcuts from firing; the key press follows.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            keyPressed(*key);
        return true;
    }
    case QEvent::KeyRelease:
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void HotkeyRow::hideEvent(QHideEvent *event)
{
    stopRecording();
    QWidget::hideEvent(event);
}

void HotkeyRow::keyPressed(const QKeyEvent &event)
{
    if (event.key() == Qt::Key_Escape) {
        stopRecording();
        return;
    }
    // A bare key, a lone modifier and a key the stored form has no code for are all ignored.
    if (HotkeyCombo::modifiersFrom(event.modifiers()) == 0)
        return;
    const std::optional<HotkeyCombo> combo
        = HotkeyCombo::fromQtKey(event.key(), event.modifiers(), event.nativeScanCode());
    if (!combo)
        return;
    stopRecording();
    apply(*combo);
}

void HotkeyRow::apply(const HotkeyCombo &combo)
{
    m_combo = combo;
    if (combo.isReserved()) {
        // Shown with its message only: the stored and registered hotkey stay as they were.
        refresh();
        return;
    }
    HotkeyPreference::setCombo(combo);
    m_hotkey = m_apply ? m_apply(combo) : HotkeyStatus::Taken;
    HotkeyState::setStatus(m_hotkey);
    refresh();
}

void HotkeyRow::showStatus(HotkeyStatus status)
{
    m_hotkey = status;
    refresh();
}

void HotkeyRow::refresh()
{
    m_button->setText(m_recording ? QStringLiteral("Press keys…") : m_combo.display());
    QString status;
    // Clay only for what the user can fix here by picking another combination.
    QColor color = Theme::muted;
    if (m_recording) {
        status = QStringLiteral("Press a combination, or Esc to cancel");
    } else if (m_combo.isReserved()) {
        status = QStringLiteral("This one belongs to the desktop. Pick another.");
        color = Theme::clay;
    } else if (!m_supported) {
        status = QStringLiteral("This desktop does not let apps register global shortcuts. "
                                "Bind the command below in its keyboard settings instead.");
        color = Theme::gray;
    } else {
        status = statusText(m_hotkey);
        if (m_hotkey != HotkeyStatus::Registered && m_hotkey != HotkeyStatus::Waiting)
            color = Theme::clay;
    }
    m_status->setText(status);
    m_status->setColor(color);
}

} // namespace furrow
