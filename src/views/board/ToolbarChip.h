#pragma once

#include <QAbstractButton>

namespace furrow {

class EasedValue;

// A button of the main window's toolbar strip: a capsule 28 high with a 13-point symbol and
// an optional label, a thin outline when bordered, and a background that fades in on hover.
// Without a label it is nearly square.
class ToolbarChip : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int kHeight = 28;

    ToolbarChip(const QString &symbol, const QString &label, const QString &help, bool bordered,
                QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    // The label; empty for none.
    void setLabel(const QString &label);
    QString label() const { return text(); }
    void setHelp(const QString &help);
    bool isBordered() const { return m_bordered; }
    void setBordered(bool bordered);

    // How far the hover background has faded in, 0 to 1.
    qreal hoverProgress() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString m_symbol;
    bool m_bordered;
    EasedValue *m_hover;
};

} // namespace furrow
