#pragma once

#include <QAbstractButton>

namespace furrow {

// A square button showing one tinted icon (a symbol or a page icon), with a rounded hover
// fill; the icon darkens from its resting to its hovered colour.
class IconButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit IconButton(const QString &symbol = {}, qreal iconSize = 16, QWidget *parent = nullptr);

    void setSymbol(const QString &symbol);
    void setPageIcon(const QString &name);
    QString iconName() const { return m_name; }
    void setIconSize(qreal size);
    // The icon's colour at rest and while hovered.
    void setColors(const QColor &rest, const QColor &hovered);
    // The square the button takes; the icon is centred in it.
    void setSide(int side);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    bool m_isPageIcon = false;
    qreal m_iconSize;
    int m_side;
    QColor m_rest;
    QColor m_hovered;
};

} // namespace furrow
