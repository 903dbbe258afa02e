#pragma once

#include "shell/tray/TrayLabel.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSystemTrayIcon;

namespace furrow {

class ModelContext;
class TrayPanel;

// The planner's place in the desktop's tray: an icon that shows how many tasks were closed
// today and opens the tray panel when clicked. Without a tray host the planner runs on without
// it, and the icon appears once a host starts.
class TrayController : public QObject
{
    Q_OBJECT

public:
    // How often the tray host's arrival is looked for while there is none.
    static constexpr int kAvailabilityPollMs = 3000;

    TrayController(ModelContext &context, std::function<void()> showMainWindow,
                   std::function<void()> showQuickCapture, QObject *parent = nullptr);
    ~TrayController() override;

    // The icon; null while no tray host exists.
    QSystemTrayIcon *trayIcon() const { return m_icon; }
    TrayPanel *panel() const { return m_panel.get(); }
    // Today's closed count as the icon shows it.
    qint64 shownCount() const { return m_shownCount; }
    TrayLabel::Tone tone() const { return m_tone; }

    // The palette of the desktop's panels, whose window colour decides between the dark and
    // the light label; the application's palette when the controller was made, until set.
    void setPanelPalette(const QPalette &palette);

    // Shows the panel next to the icon, or next to the pointer when the icon's place is
    // unknown; hides it when it is showing. The panel keeps its place beside the icon as its
    // list grows and shrinks.
    void togglePanel();

    // Where a panel of `size` goes next to `anchor`: centred under it, or above it in the lower
    // half of the screen, and kept inside `available`.
    static QPoint panelPosition(const QRect &anchor, const QSize &size, const QRect &available);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkAvailability();
    void updateIcon();
    void armDayTimer();
    void openPanel();
    void placePanel();

    ModelContext &m_context;
    std::unique_ptr<TrayPanel> m_panel;
    QSystemTrayIcon *m_icon = nullptr;
    QTimer m_availabilityPoll;
    QTimer m_dayTimer;
    TrayLabel::Tone m_tone;
    qint64 m_shownCount = -1;
    // Where the open panel belongs: next to this, inside that.
    QRect m_anchor;
    QRect m_available;
};

} // namespace furrow
