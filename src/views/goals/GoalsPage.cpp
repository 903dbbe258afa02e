#include "views/goals/GoalsPage.h"

#include "model/VectorStore.h"
#include "views/goals/GoalCard.h"
#include "views/goals/GoalsEditor.h"
#include "views/theme/IconView.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr int kContentWidth = 620;

} // namespace

GoalsPage::GoalsPage(VectorStore &store, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 24, 0, 0);
    layout->setSpacing(18);
    layout->addWidget(buildHeader());

    // The column is at most 620 wide and keeps to the leading side of wider windows.
    auto *content = new QWidget;
    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(36, 6, 36, 36);
    auto *column = new QWidget(content);
    column->setMaximumWidth(kContentWidth);
    m_column = Stacks::column(column, 0);
    m_column->addStretch();
    row->addWidget(column, 1);
    row->addStretch(0);
    auto *area = new QuietScrollArea(this);
    area->setContent(content);
    layout->addWidget(area, 1);

    connect(&store, &VectorStore::vectorsChanged, this, [this] {
        // Drafts being edited stay as typed; Done stores them one by one.
        if (!m_editing && !m_storing)
            showState();
    });
    showState();
}

QWidget *GoalsPage::buildHeader()
{
    auto *header = new QWidget(this);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(36, 0, 36, 0);
    layout->setSpacing(10);
    layout->addWidget(IconView::symbol(QStringLiteral("target"), 22, Theme::ink, header));
    layout->addWidget(new TextLabel(QStringLiteral("Goals"), Theme::slab(24), Theme::ink, header));
    auto *quarter
        = new TextLabel(QStringLiteral("this quarter"), Theme::small(), Theme::muted, header);
    // Sits on the title's baseline rather than its centre.
    quarter->setContentsMargins(0, 5, 0, 0);
    layout->addWidget(quarter);
    layout->addStretch();
    return header;
}

QList<GoalCard *> GoalsPage::cards() const
{
    return m_body ? m_body->findChildren<GoalCard *>() : QList<GoalCard *>();
}

void GoalsPage::showState()
{
    const QWidget *focus = QApplication::focusWidget();
    const bool hadFocus = m_body && focus && m_body->isAncestorOf(focus);
    if (m_body) {
        m_column->removeWidget(m_body);
        m_body->hide();
        m_body->deleteLater();
    }
    m_editor = nullptr;
    if (m_editing) {
        m_state = State::Editor;
        m_body = buildEditor();
    } else if (m_store.visible().empty()) {
        m_state = State::Invitation;
        m_body = buildInvitation();
    } else {
        m_state = State::Cards;
        m_body = buildCards();
    }
    m_column->insertWidget(0, m_body);
    m_body->show();
    // Keyboard users land on the new state's button ("Set goals", "Edit goals").
    if (hadFocus && !m_editing) {
        if (auto *button = m_body->findChild<PillButton *>())
            button->setFocus(Qt::OtherFocusReason);
    }
}

QWidget *GoalsPage::buildInvitation()
{
    auto *body = new QWidget;
    auto *layout = Stacks::column(body, 10);
    layout->addWidget(new TextLabel(QStringLiteral("What is this quarter for?"), Theme::slab(19),
                                    Theme::ink, body));
    auto *text = new TextLabel(
        QStringLiteral("Three goals. Not things to tick off — the lens you pick the day through."),
        Theme::body(), Theme::gray, body);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addSpacing(10);
    auto *set = new PillButton(QStringLiteral("Set goals"), PillButton::Kind::Primary, body);
    layout->addWidget(set, 0, Qt::AlignLeft);
    connect(set, &QAbstractButton::clicked, this, &GoalsPage::beginEditing);
    return body;
}

QWidget *GoalsPage::buildCards()
{
    auto *body = new QWidget;
    auto *layout = Stacks::column(body, 10);
    layout->addWidget(new TextLabel(QStringLiteral("Does today move any of these?"),
                                    Theme::slab(19), Theme::ink, body));
    layout->addSpacing(6);
    for (const Vector &goal : m_store.visible())
        layout->addWidget(new GoalCard(goal, body));
    layout->addSpacing(10);
    auto *edit = new PillButton(QStringLiteral("Edit goals"), PillButton::Kind::Normal, body);
    layout->addWidget(edit, 0, Qt::AlignLeft);
    connect(edit, &QAbstractButton::clicked, this, &GoalsPage::beginEditing);
    return body;
}

QWidget *GoalsPage::buildEditor()
{
    m_editor = new GoalsEditor(m_store.vectors());
    m_editor->setObjectName(QStringLiteral("goalsEditor"));
    connect(m_editor, &GoalsEditor::done, this, &GoalsPage::finishEditing);
    connect(m_editor, &GoalsEditor::cancelled, this, &GoalsPage::cancelEditing);
    QTimer::singleShot(0, m_editor, [editor = m_editor] { editor->setFocus(); });
    return m_editor;
}

void GoalsPage::beginEditing()
{
    if (m_editing)
        return;
    m_editing = true;
    showState();
}

void GoalsPage::finishEditing()
{
    if (!m_editor)
        return;
    const GoalsEditor::Goals drafts = m_editor->drafts();
    m_storing = true;
    for (const Vector &draft : drafts)
        m_store.set(draft.name, draft.statement, draft.slot);
    m_storing = false;
    m_editing = false;
    showState();
}

void GoalsPage::cancelEditing()
{
    if (!m_editing)
        return;
    m_editing = false;
    showState();
}

} // namespace furrow
