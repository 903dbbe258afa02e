#pragma once

#include <QPushButton>

namespace furrow {

class EasedValue;

// A capsule button in one of three kinds. It turns active while hovered, pressed or checked
// (a selected tab), easing between its resting and active colours. An optional symbol before
// the title makes it a pill label. Return, like Space, presses it when it has the focus.
class PillButton : public QPushButton
{
    Q_OBJECT

public:
    enum class Kind { Normal, Primary, Quiet };

    explicit PillButton(const QString &title, Kind kind = Kind::Normal, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    bool isCompact() const { return m_compact; }
    void setCompact(bool compact);
    // A symbol drawn before the title.
    void setSymbol(const QString &symbol);
    QString symbol() const { return m_symbol; }

    // How far the button is into its active look, 0 to 1.
    qreal activeness() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Colors
    {
        QColor text, fill, outline;
    };
    Colors colorsAt(qreal progress) const;
    QFont labelFont() const;
    qreal iconSize() const;
    qreal contentWidth() const;
    QMargins padding() const;
    void updateActive();

    Kind m_kind;
    bool m_compact = false;
    bool m_pointerInside = false;
    QString m_symbol;
    EasedValue *m_active;
};

} // namespace furrow
