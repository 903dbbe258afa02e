#include "SaveFailureNotice.h"

#include "model/ModelContext.h"
#include "views/theme/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace furrow {

SaveFailureNotice::SaveFailureNotice(ModelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("saveFailureNotice"));
    setFocusPolicy(Qt::NoFocus);
    m_text->setObjectName(QStringLiteral("saveFailureText"));
    m_text->setFont(Theme::small());
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::WindowText, Theme::clay);
    m_text->setPalette(palette);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 6, 16, 6);
    layout->addWidget(m_text);
    connect(&context, &ModelContext::saveFailureChanged, this, &SaveFailureNotice::follow);
    follow(context.saveFailure());
}

void SaveFailureNotice::follow(const QString &failure)
{
    m_text->setText(QStringLiteral("Changes are not being saved: ") + failure);
    setAccessibleName(m_text->text());
    setVisible(!failure.isEmpty());
}

void SaveFailureNotice::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::withOpacity(Theme::clay, 0.08));
    painter.fillRect(QRect(0, height() - 1, width(), 1), Theme::hair);
}

} // namespace furrow
