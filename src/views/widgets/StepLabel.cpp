#include "views/widgets/StepLabel.h"

#include "views/theme/Theme.h"

namespace furrow {

StepLabel::StepLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    QFont font = Theme::stepLabel();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.9);
    setFont(font);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, Theme::muted);
    setPalette(colors);
    setCaption(text);
}

void StepLabel::setCaption(const QString &text)
{
    setText(text.toUpper());
}

} // namespace furrow
