#pragma once

#include <QAbstractButton>

namespace furrow {

// A quiet button of the sidebar's foot: a page icon and a label in gray, on a rounded hover
// fill.
class SidebarFootButton : public QAbstractButton
{
    Q_OBJECT

public:
    SidebarFootButton(const QString &pageIcon, const QString &title, QWidget *parent = nullptr);

    QString pageIcon() const { return m_pageIcon; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_pageIcon;
};

} // namespace furrow
