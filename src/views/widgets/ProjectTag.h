#pragma once

#include <QAbstractButton>

namespace furrow {

class Project;

// A project's small tag: a dot in its colour and its name, in a thin capsule outline. It can
// be clicked (the task row opens the project picker from it).
class ProjectTag : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ProjectTag(QWidget *parent = nullptr);

    // Shows the project's name and colour (muted when its colour text is not a colour).
    void setProject(const Project &project);
    void setProject(const QString &name, const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

} // namespace furrow
