#pragma once

#include <QAbstractButton>

namespace furrow {

// One icon of the page icon picker: gray on a clear square, ink on lime when it is the page's
// current icon. Its tool tip is the icon's name.
class IconCell : public QAbstractButton
{
    Q_OBJECT

public:
    IconCell(const QString &name, bool selected, QWidget *parent = nullptr);

    QString name() const { return m_name; }
    bool isSelected() const { return m_selected; }

    QSize sizeHint() const override { return {34, 34}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    bool m_selected;
};

} // namespace furrow
