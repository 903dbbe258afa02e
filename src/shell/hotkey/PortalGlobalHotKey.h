#pragma once

#include "GlobalHotKey.h"

#include <QDBusConnection>
#include <QDeadlineTimer>

class QDBusMessage;

namespace furrow {

// The hotkey through the desktop portal's GlobalShortcuts interface, for Wayland sessions:
// one session with one bound shortcut, "quick-capture". The portal answers through Request
// signals; registerCombo waits for them in a local event loop, at most two seconds in all,
// because its caller needs the result.
class PortalGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    static inline const QString kShortcutId = QStringLiteral("quick-capture");

    explicit PortalGlobalHotKey(const QDBusConnection &bus, QObject *parent = nullptr);
    ~PortalGlobalHotKey() override;

    // Whether the bus offers GlobalShortcuts version 1 or later.
    static bool isOffered(const QDBusConnection &bus);
    // The trigger the portal is offered for a combination: "CTRL+ALT+space".
    static QString triggerText(const HotkeyCombo &combo);

    bool registerCombo(const HotkeyCombo &combo, std::function<void()> action) override;
    void unregister() override;

private Q_SLOTS:
    void onActivated(const QDBusMessage &message);

private:
    QString createSession(const QDeadlineTimer &deadline);
    bool bindShortcut(const QString &session, const HotkeyCombo &combo,
                      const QDeadlineTimer &deadline);

    QDBusConnection m_bus;
    QString m_session;
    bool m_busy = false;
};

} // namespace furrow
