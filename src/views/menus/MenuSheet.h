#pragma once

#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace furrow {

class MenuController;
class MenuRow;

// The standard body of a popup menu: rows, captions and dividers stacked without spacing.
// A row added with an action closes the popup first, then runs the action.
class MenuSheet : public QWidget
{
    Q_OBJECT

public:
    explicit MenuSheet(MenuController *menus, QWidget *parent = nullptr);

    MenuRow *addRow(const QString &title, const QString &symbol, std::function<void()> action);
    void addCaption(const QString &text);
    void addDivider();
    void addWidget(QWidget *widget);

private:
    MenuController *m_menus;
    QVBoxLayout *m_layout;
};

// A non-interactive caption line in a menu.
class MenuCaption : public QWidget
{
    Q_OBJECT

public:
    explicit MenuCaption(const QString &text, QWidget *parent = nullptr);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

// A hairline between groups of menu rows, with a little space above and below.
class MenuDivider : public QWidget
{
    Q_OBJECT

public:
    explicit MenuDivider(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace furrow
