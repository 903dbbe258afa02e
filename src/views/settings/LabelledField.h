#pragma once

#include <QWidget>

class QLineEdit;

namespace furrow {

// A caption above a one-line input that sits on a card-coloured rounded field; a secret field
// masks what is typed and has no placeholder.
class LabelledField : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Plain, Secret };

    LabelledField(const QString &label, Kind kind, const QString &placeholder = {},
                  QWidget *parent = nullptr);

    QLineEdit *input() const { return m_input; }

private:
    QLineEdit *m_input;
};

} // namespace furrow
