#pragma once

#include <QAbstractButton>

class QPainter;

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

    // A small dot at the chip's upper right corner: something behind it wants a look.
    void setMarked(bool marked);
    bool isMarked() const { return m_marked; }

    // How far the hover background has faded in, 0 to 1.
    qreal hoverProgress() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintMark(QPainter &painter) const;

    QString m_symbol;
    bool m_bordered;
    bool m_marked = false;
    EasedValue *m_hover;
};

} // namespace furrow
