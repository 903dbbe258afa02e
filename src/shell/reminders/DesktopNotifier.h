#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace furrow {

// Desktop notifications through org.freedesktop.Notifications: sends them, with actions when
// the notification server offers them, and reports which action the user invoked.
class DesktopNotifier : public QObject
{
    Q_OBJECT

public:
    // An action's key and its button text; "default" is the click on the notification itself.
    struct Action
    {
        QString key;
        QString text;
    };
    static inline const QString kDefaultAction = QStringLiteral("default");

    explicit DesktopNotifier(QDBusConnection bus, QObject *parent = nullptr);

    // Asks the server what it offers; until it answers, actions count as offered.
    void probe();
    bool offersActions() const { return m_actions; }
    // Sends a notification and calls `sent` with its id, or 0 when no server took it.
    void notify(const QString &title, const QString &body, const QList<Action> &actions,
                std::function<void(uint id)> sent);

Q_SIGNALS:
    void actionInvoked(uint id, const QString &key);
    void closed(uint id);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &key);
    void onClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    bool m_actions = true;
};

} // namespace furrow
