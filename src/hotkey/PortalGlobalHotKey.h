#pragma once

#include "GlobalHotKey.h"

#include "PortalRequest.h"

#include <QDBusConnection>

class QDBusMessage;

namespace furrow {

// The hotkey through the desktop portal's GlobalShortcuts interface, for Wayland sessions:
// one session with one bound shortcut, "quick-capture". The portal may ask the user before it
// binds, so registering only starts the exchange: the status stays Waiting until the portal
// answers. A shortcut the desktop kept from an earlier run for the same trigger is taken over
// without asking again.
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
    // The steps of one registration; an answer meant for an earlier one is dropped.
    void createSession(int attempt);
    void listShortcuts(int attempt);
    void bindShortcuts(int attempt);
    void bound(int attempt, const PortalRequest::Answer &answer);
    void fail(HotkeyStatus status);

    QDBusConnection m_bus;
    QString m_session;
    HotkeyCombo m_combo;
    int m_attempt = 0;
};

} // namespace furrow
