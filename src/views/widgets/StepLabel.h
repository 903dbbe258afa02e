#pragma once

#include <QLabel>

namespace furrow {

// A small section caption: the text upper-cased and spaced out, in muted semibold sans.
class StepLabel : public QLabel
{
    Q_OBJECT

public:
    explicit StepLabel(const QString &text, QWidget *parent = nullptr);

    void setCaption(const QString &text);
};

} // namespace furrow
