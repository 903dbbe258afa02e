#include "views/goals/GoalsEditor.h"

#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/LiftedSurface.h"
#include "views/widgets/LimitedLineEdit.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>

namespace furrow {

namespace {

// The raised card that holds one slot's two fields.
class SlotSurface : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        LiftedSurface::paint(painter, rect(), 12);
    }
};

LimitedLineEdit *plainField(qsizetype limit, const QString &placeholder, const QFont &font,
                            const QString &text, QWidget *parent)
{
    auto *field = new LimitedLineEdit(limit, parent);
    field->setFont(font);
    field->setPlaceholderText(placeholder);
    QPalette colors = field->palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    field->setPalette(colors);
    field->setText(text);
    field->setCursorPosition(0);
    return field;
}

} // namespace

GoalsEditor::GoalsEditor(const Goals &goals, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = Stacks::column(this, 12);
    auto *title = new TextLabel(QStringLiteral("Three goals for the quarter"), Theme::slab(19),
                                Theme::ink, this);
    layout->addWidget(title);
    layout->addSpacing(4);
    for (const Vector &goal : goals)
        layout->addWidget(buildSlot(goal));
    layout->addSpacing(6);
    layout->addWidget(buildButtons());
    setFocusProxy(m_names.front());
}

QWidget *GoalsEditor::buildSlot(const Vector &goal)
{
    auto *surface = new SlotSurface(this);
    auto *grid = new QGridLayout(surface);
    grid->setContentsMargins(14, 8, 14, 8);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    auto *number
        = new TextLabel(QString::number(goal.slot + 1), Theme::slab(19), Theme::line, surface);
    number->setFixedWidth(14);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const std::size_t slot = std::size_t(goal.slot);
    m_names[slot] = plainField(VectorStore::kNameLimit, QStringLiteral("Short name"),
                               Theme::slab(18), goal.name, surface);
    m_statements[slot]
        = plainField(VectorStore::kStatementLimit, QStringLiteral("What it means, in one line"),
                     Theme::body(), goal.statement, surface);
    grid->addWidget(number, 0, 0);
    grid->addWidget(m_names[slot], 0, 1);
    grid->addWidget(new HairLine(surface), 1, 1);
    grid->addWidget(m_statements[slot], 2, 1);
    for (LimitedLineEdit *field : {m_names[slot], m_statements[slot]})
        connect(field, &QLineEdit::returnPressed, this, &GoalsEditor::done);
    return surface;
}

QWidget *GoalsEditor::buildButtons()
{
    auto *row = new QWidget(this);
    auto *layout = Stacks::row(row, 8);
    m_cancel = new PillButton(QStringLiteral("Cancel"), PillButton::Kind::Normal, row);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_done = new PillButton(QStringLiteral("Done"), PillButton::Kind::Primary, row);
    m_done->setObjectName(QStringLiteral("doneButton"));
    layout->addStretch();
    layout->addWidget(m_cancel);
    layout->addWidget(m_done);
    connect(m_cancel, &QAbstractButton::clicked, this, &GoalsEditor::cancelled);
    connect(m_done, &QAbstractButton::clicked, this, &GoalsEditor::done);
    return row;
}

GoalsEditor::Goals GoalsEditor::drafts() const
{
    Goals result;
    for (int slot = 0; slot < VectorStore::kCount; ++slot)
        result[std::size_t(slot)] = {slot, nameField(slot)->text(), statementField(slot)->text()};
    return result;
}

void GoalsEditor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT cancelled();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace furrow
