#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUuid>

#include <optional>

class QWidget;

namespace furrow {

class MenuHost;

// One opening of a popup: its anchor (the opening control's rectangle in window coordinates),
// its width and its content.
struct MenuPresentation
{
    QUuid id;
    QRect anchor;
    int width = 0;
    QPointer<QWidget> content;
};

// Holds the one popup a window shows at a time. Opening a popup closes any other; the
// window's MenuHost draws it next to its anchor.
class MenuController : public QObject
{
    Q_OBJECT

public:
    // Lays a MenuHost over `window` for the popups.
    explicit MenuController(QWidget *window);

    // Shows `content` in a popup `width` wide anchored to `anchor` (window coordinates); the
    // popup owns the content from now on and deletes it when it closes.
    void show(int width, const QRect &anchor, QWidget *content);
    // The same, anchored to a control of the window.
    void show(int width, const QWidget *control, QWidget *content);
    void close();
    // A popup asks for the settings window's Projects tab ("Manage projects…"); the window
    // hands the request on.
    void requestProjectSettings() { Q_EMIT projectSettingsRequested(); }

    bool isOpen() const { return m_open.has_value(); }
    const std::optional<MenuPresentation> &open() const { return m_open; }

    QWidget *window() const { return m_window; }
    MenuHost *host() const { return m_host; }
    // A control's rectangle in the window's coordinates.
    QRect anchorRect(const QWidget *control) const;

Q_SIGNALS:
    // A popup was opened, replacing any open one.
    void opened();
    void closed();
    void projectSettingsRequested();

private:
    QWidget *m_window;
    MenuHost *m_host;
    std::optional<MenuPresentation> m_open;
};

} // namespace furrow
