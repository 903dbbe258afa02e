#include "views/settings/LabelledField.h"

#include "views/theme/Theme.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QLineEdit>

namespace furrow {

namespace {

// The field's look: no system frame, the text inset 11 beside and 8 above and below, a 1-point
// outline that darkens while the field has the focus.
QString fieldStyle(const QColor &text)
{
    return QStringLiteral(
               "QLineEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 8px;"
               " padding: 7px 9px; selection-background-color: %4; selection-color: %5;"
               " }"
               " QLineEdit:focus { border-color: %6; }")
        .arg(Theme::card.name(), text.name(), Theme::hair.name(), Theme::bright.name(),
             Theme::pine.name(), Theme::line.name());
}

} // namespace

LabelledField::LabelledField(const QString &label, Kind kind, const QString &placeholder,
                             QWidget *parent)
    : QWidget(parent)
    , m_input(new QLineEdit(this))
{
    auto *caption = new TextLabel(label, Theme::sans(12, QFont::Medium), Theme::muted, this);
    caption->setBuddy(m_input);
    m_input->setFont(Theme::body());
    m_input->setAttribute(Qt::WA_MacShowFocusRect, false);
    if (kind == Kind::Secret) {
        m_input->setEchoMode(QLineEdit::Password);
        // The mask's dots would touch each other; a little air between them.
        QFont font = m_input->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
        m_input->setFont(font);
        // Only the mask shows here; in gray its heavy dots stay quiet.
        m_input->setStyleSheet(fieldStyle(Theme::gray));
    } else {
        m_input->setPlaceholderText(placeholder);
        m_input->setStyleSheet(fieldStyle(Theme::ink));
    }
    QPalette colors = m_input->palette();
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    m_input->setPalette(colors);

    auto *column = Stacks::column(this, 5);
    column->addWidget(caption);
    column->addWidget(m_input);
}

} // namespace furrow
