#pragma once

#include <QAbstractButton>

#include <optional>

namespace furrow {

// One row of a popup menu: an optional symbol (or colour dot), the title and a check mark
// when checked (setChecked). Destructive rows read in clay, disabled ones in muted and ignore
// clicks. One row at a time is current and lit in lime: the one the pointer last moved over or
// the arrow keys last reached.
class MenuRow : public QAbstractButton
{
    Q_OBJECT

public:
    explicit MenuRow(const QString &title, const QString &symbol = {}, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    void setDestructive(bool destructive);
    bool isDestructive() const { return m_destructive; }
    // A colour dot in the symbol's place (the project picker's options).
    void setDot(const std::optional<QColor> &color);
    void setTitleColor(const QColor &color);

    // The title's colour: muted when disabled, clay when destructive, ink otherwise.
    QColor titleColor() const;
    bool isHighlighted() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void nextCheckState() override;

private:
    QString m_symbol;
    std::optional<QColor> m_dot;
    std::optional<QColor> m_titleColor;
    bool m_destructive = false;
    bool m_pointerMadeCurrent = false;
};

} // namespace furrow
