#include "views/settings/LabelledField.h"

#include "views/theme/Theme.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QLineEdit>

namespace furrow {

namespace {

// The field's look: no system frame, the text inset 11 beside and 8 above and below, a 1-point
// outline that darkens while the field has the focus; a masked character is a light bullet.
QString fieldStyle()
{
    return QStringLiteral(
               "QLineEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 8px;"
               " padding: 7px 9px; selection-background-color: %4; selection-color: %5;"
               " lineedit-password-character: 8226; }"
               " QLineEdit:focus { border-color: %6; }")
        .arg(Theme::card.name(), Theme::ink.name(), Theme::hair.name(), Theme::bright.name(),
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
    m_input->setStyleSheet(fieldStyle());
    m_input->setAttribute(Qt::WA_MacShowFocusRect, false);
    if (kind == Kind::Secret) {
        m_input->setEchoMode(QLineEdit::Password);
    } else {
        m_input->setPlaceholderText(placeholder);
    }
    QPalette colors = m_input->palette();
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    m_input->setPalette(colors);

    auto *column = Stacks::column(this, 5);
    column->addWidget(caption);
    column->addWidget(m_input);
}

} // namespace furrow
