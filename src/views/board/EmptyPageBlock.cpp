#include "views/board/EmptyPageBlock.h"

#include "views/board/TaskRow.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"

#include <QLabel>
#include <QVBoxLayout>

namespace furrow {

namespace {

QLabel *label(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    QPalette colors = label->palette();
    colors.setColor(QPalette::WindowText, color);
    label->setPalette(colors);
    return label;
}

} // namespace

EmptyPageBlock::EmptyPageBlock(QWidget *parent)
    : QWidget(parent)
    , m_title(label(QStringLiteral("No categories yet"), Theme::slab(20, QFont::Medium), Theme::ink,
                    this))
    , m_add(new PillButton(QStringLiteral("Add a category"), PillButton::Kind::Normal, this))
{
    setMaximumWidth(kMaxWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(TaskRow::kInset, 8, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_title);
    layout->addWidget(label(QStringLiteral("Categories are the blocks this page is made of. Name "
                                           "them however you like."),
                            Theme::body(), Theme::gray, this));
    layout->addSpacing(6);
    layout->addWidget(m_add, 0, Qt::AlignLeft);
    connect(m_add, &QAbstractButton::clicked, this, &EmptyPageBlock::addCategory);
}

} // namespace furrow
