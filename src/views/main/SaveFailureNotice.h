#pragma once

#include <QWidget>

class QLabel;

namespace furrow {

class ModelContext;

// A quiet strip (object name "saveFailureNotice") that says changes are not being saved, with
// the store's reason, from the first failed save until a save gets through; it asks nothing and
// takes no focus.
class SaveFailureNotice : public QWidget
{
    Q_OBJECT

public:
    explicit SaveFailureNotice(ModelContext &context, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(const QString &failure);

    QLabel *m_text = nullptr;
};

} // namespace furrow
