#pragma once

#include <QWidget>

class QLabel;

namespace furrow {

class PillButton;

// What a page without categories shows: a short explanation and "Add a category".
class EmptyPageBlock : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxWidth = 380;

    explicit EmptyPageBlock(QWidget *parent = nullptr);

    QLabel *title() const { return m_title; }
    PillButton *addButton() const { return m_add; }

Q_SIGNALS:
    void addCategory();

private:
    QLabel *m_title;
    PillButton *m_add;
};

} // namespace furrow
