#pragma once

#include "views/theme/Icon.h"

#include <QWidget>

namespace furrow {

// Shows one tinted icon, a symbol or a page icon, centred in its square.
class IconView : public QWidget
{
    Q_OBJECT

public:
    explicit IconView(QWidget *parent = nullptr);
    static IconView *symbol(const QString &symbol, qreal size, const QColor &color,
                            QWidget *parent = nullptr);
    static IconView *pageIcon(const QString &name, qreal size, const QColor &color,
                              QWidget *parent = nullptr);

    void setSymbol(const QString &symbol, Icon::Weight weight = Icon::Weight::Regular);
    void setPageIcon(const QString &name);
    void setColor(const QColor &color);
    void setIconSize(qreal size);

    QString name() const { return m_name; }
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    bool m_isPageIcon = false;
    Icon::Weight m_weight = Icon::Weight::Regular;
    QColor m_color;
    qreal m_size = 16;
};

} // namespace furrow
