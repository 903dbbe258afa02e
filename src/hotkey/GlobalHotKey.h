#pragma once

#include "HotkeyCombo.h"
#include "HotkeyStatus.h"

#include <QObject>

#include <functional>
#include <memory>

class QDBusConnection;

namespace furrow {

// A system-wide hotkey: registers one combination with the desktop and runs an action on the
// main thread, on the next event-loop turn after each press. One backend per desktop facility.
class GlobalHotKey : public QObject
{
    Q_OBJECT

public:
    ~GlobalHotKey() override;

    // The backend for this session: the desktop portal on Wayland when it offers global
    // shortcuts, an X11 key grab on X11, otherwise one that reports "not supported".
    static std::unique_ptr<GlobalHotKey> create();
    // The same choice, asking the given bus for the portal.
    static std::unique_ptr<GlobalHotKey> create(const QDBusConnection &sessionBus);

    // Replaces any earlier registration and action; true when the desktop accepted the
    // combination at once. A desktop that first asks the user leaves status() Waiting and
    // tells its answer through statusSettled.
    virtual bool registerCombo(const HotkeyCombo &combo, std::function<void()> action) = 0;
    // Releases everything; the action no longer runs.
    virtual void unregister() = 0;
    // False when no combination can ever be registered here: the user binds
    // `furrow --quick-capture` in the desktop's keyboard settings instead.
    virtual bool isSupported() const { return true; }
    HotkeyStatus status() const { return m_status; }
    bool isRegistered() const { return m_status == HotkeyStatus::Registered; }

Q_SIGNALS:
    // A registration that was Waiting has its answer.
    void statusSettled(HotkeyStatus status);

protected:
    explicit GlobalHotKey(QObject *parent = nullptr);

    void setAction(std::function<void()> action);
    void setStatus(HotkeyStatus status) { m_status = status; }
    // Sets the status that a Waiting registration came to and announces it.
    void settle(HotkeyStatus status);
    // Runs the action on the next event-loop turn.
    void fire();

private:
    static std::unique_ptr<GlobalHotKey> createForWayland(const QDBusConnection &sessionBus);
    static std::unique_ptr<GlobalHotKey> createForX11();

    std::function<void()> m_action;
    HotkeyStatus m_status = HotkeyStatus::Unregistered;
};

} // namespace furrow
