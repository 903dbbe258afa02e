#include "views/settings/PhraseField.h"

#include "views/settings/LabelledField.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"

#include <QEvent>
#include <QLineEdit>

namespace furrow {

PhraseField::PhraseField(const QString &label, std::chrono::milliseconds pause, QWidget *parent)
    : QWidget(parent)
    , m_field(new LabelledField(label, LabelledField::Kind::Secret, {}, this))
    , m_show(new PillButton(QStringLiteral("Show"), PillButton::Kind::Quiet, this))
{
    m_show->setObjectName(QStringLiteral("syncPhraseShow"));
    m_show->setCompact(true);
    m_show->setCheckable(true);
    auto *row = Stacks::row(this, 8);
    row->addWidget(m_field, 1);
    row->addWidget(m_show, 0, Qt::AlignBottom);

    m_pause.setSingleShot(true);
    m_pause.setInterval(pause);
    m_pause.callOnTimeout(this, &PhraseField::commit);
    connect(input(), &QLineEdit::textEdited, &m_pause, qOverload<>(&QTimer::start));
    connect(input(), &QLineEdit::returnPressed, this, &PhraseField::commit);
    connect(m_show, &QAbstractButton::toggled, this, &PhraseField::setShown);
    input()->installEventFilter(this);
}

QLineEdit *PhraseField::input() const
{
    return m_field->input();
}

void PhraseField::setPhrase(const QString &phrase)
{
    m_pause.stop();
    m_committed = phrase;
    input()->setText(phrase);
}

void PhraseField::commit()
{
    m_pause.stop();
    const QString phrase = input()->text();
    if (phrase == m_committed)
        return;
    m_committed = phrase;
    Q_EMIT committed(phrase);
}

void PhraseField::hideEvent(QHideEvent *event)
{
    commit();
    QWidget::hideEvent(event);
}

bool PhraseField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == input() && event->type() == QEvent::FocusOut)
        commit();
    return QWidget::eventFilter(watched, event);
}

void PhraseField::setShown(bool shown)
{
    input()->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    m_show->setText(shown ? QStringLiteral("Hide") : QStringLiteral("Show"));
}

} // namespace furrow
