#include "shell/tray/TrayController.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "shell/tray/TrayPanel.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include <algorithm>

namespace furrow {

namespace {
// Space between the icon and the panel.
constexpr int kAnchorGap = 6;
// After midnight, so that the new day has surely begun.
constexpr qint64 kDayTurnSlackMs = 1000;
} // namespace

TrayController::TrayController(ModelContext &context, std::function<void()> showMainWindow,
                               std::function<void()> showQuickCapture, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_panel(std::make_unique<TrayPanel>(context))
    , m_availabilityPoll(this)
    , m_dayTimer(this)
    , m_tone(TrayLabel::toneFor(QGuiApplication::palette()))
{
    m_panel->installEventFilter(this);
    connect(m_panel.get(), &TrayPanel::openRequested, this,
            [show = std::move(showMainWindow)] { show(); });
    connect(m_panel.get(), &TrayPanel::quickCaptureRequested, this,
            [show = std::move(showQuickCapture)] { show(); });
    connect(&m_context, &ModelContext::changed, this, &TrayController::updateIcon);

    m_dayTimer.setObjectName(QStringLiteral("trayDayTimer"));
    m_dayTimer.setSingleShot(true);
    connect(&m_dayTimer, &QTimer::timeout, this, [this] {
        updateIcon();
        armDayTimer();
    });
    armDayTimer();

    m_availabilityPoll.setObjectName(QStringLiteral("trayAvailabilityPoll"));
    m_availabilityPoll.setInterval(kAvailabilityPollMs);
    connect(&m_availabilityPoll, &QTimer::timeout, this, &TrayController::checkAvailability);
    updateIcon();
    checkAvailability();
}

TrayController::~TrayController() = default;

void TrayController::setPanelPalette(const QPalette &palette)
{
    const TrayLabel::Tone tone = TrayLabel::toneFor(palette);
    if (tone == m_tone)
        return;
    m_tone = tone;
    m_shownCount = -1;
    updateIcon();
}

void TrayController::checkAvailability()
{
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!m_icon)
            m_availabilityPoll.start();
        return;
    }
    m_availabilityPoll.stop();
    m_icon = new QSystemTrayIcon(this);
    m_icon->setToolTip(QStringLiteral("Furrow"));
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger)
                    togglePanel();
            });
    m_shownCount = -1;
    updateIcon();
    m_icon->show();
}

void TrayController::updateIcon()
{
    const qint64 closed = PlannerStore(m_context).closedTodayCount();
    if (closed == m_shownCount)
        return;
    m_shownCount = closed;
    if (m_icon)
        m_icon->setIcon(TrayLabel::icon(closed, m_tone, qApp->devicePixelRatio()));
}

void TrayController::armDayTimer()
{
    const Instant now = Clock::now();
    const auto untilTomorrow
        = std::chrono::duration_cast<std::chrono::milliseconds>(Calendar::dayOf(now).end - now);
    m_dayTimer.start(int(std::clamp<qint64>(untilTomorrow.count() + kDayTurnSlackMs, 0,
                                            qint64(24) * 3600 * 1000 + kDayTurnSlackMs)));
}

void TrayController::togglePanel()
{
    if (m_panel->isVisible())
        m_panel->hide();
    else
        openPanel();
}

void TrayController::openPanel()
{
    QRect anchor = m_icon ? m_icon->geometry() : QRect();
    // Hosts that do not tell where the icon is leave it empty or at the origin; the pointer
    // has just clicked the icon, so it is next to it.
    if (anchor.isEmpty() || anchor.topLeft().isNull())
        anchor = QRect(QCursor::pos(), QSize(1, 1));
    QScreen *screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_anchor = anchor;
    m_available = screen ? screen->availableGeometry() : QRect();
    m_panel->refresh();
    placePanel();
    m_panel->show();
    m_panel->raise();
    m_panel->activateWindow();
}

void TrayController::placePanel()
{
    if (m_available.isValid())
        m_panel->move(panelPosition(m_anchor, m_panel->size(), m_available));
}

bool TrayController::eventFilter(QObject *watched, QEvent *event)
{
    // A capture or a closed task changes the panel's height, which grows or shrinks from the top
    // edge; above a bottom tray the panel's lower edge has to stay by the icon.
    if (watched == m_panel.get() && event->type() == QEvent::Resize)
        placePanel();
    return QObject::eventFilter(watched, event);
}

QPoint TrayController::panelPosition(const QRect &anchor, const QSize &size, const QRect &available)
{
    int x = anchor.center().x() - size.width() / 2;
    const bool above = anchor.center().y() > available.center().y();
    int y = above ? anchor.top() - kAnchorGap - size.height() : anchor.bottom() + 1 + kAnchorGap;
    x = std::clamp(x, available.left(),
                   std::max(available.left(), available.right() + 1 - size.width()));
    y = std::clamp(y, available.top(),
                   std::max(available.top(), available.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace furrow
