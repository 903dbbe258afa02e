#pragma once

#include <QTimer>
#include <QWidget>

#include <chrono>

class QLineEdit;

namespace furrow {

class LabelledField;
class PillButton;

// The masked field of the secret phrase, with a "show" toggle so that a typo can be seen. What
// is typed takes effect only once the user is done with it: on Return, on leaving the field,
// after a pause without a keystroke, or when the field goes out of sight; never halfway
// through a word.
class PhraseField : public QWidget
{
    Q_OBJECT

public:
    explicit PhraseField(const QString &label,
                         std::chrono::milliseconds pause = std::chrono::seconds(2),
                         QWidget *parent = nullptr);

    QLineEdit *input() const;
    // Shows `phrase` as the one in effect, without announcing it.
    void setPhrase(const QString &phrase);
    // Announces what is typed now, if it is not the phrase in effect already.
    void commit();

Q_SIGNALS:
    void committed(const QString &phrase);

protected:
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setShown(bool shown);

    LabelledField *m_field;
    PillButton *m_show;
    QTimer m_pause;
    QString m_committed;
};

} // namespace furrow
