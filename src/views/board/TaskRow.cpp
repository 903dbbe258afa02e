#include "views/board/TaskRow.h"

#include "model/InlineSyntax.h"
#include "model/PlannerStore.h"
#include "views/board/BoardState.h"
#include "views/board/DropFeedback.h"
#include "views/board/InlineField.h"
#include "views/board/NoteEditor.h"
#include "views/board/NoteText.h"
#include "views/board/RowControls.h"
#include "views/board/RowMenu.h"
#include "views/board/RowTrailing.h"
#include "views/board/TitleEditor.h"
#include "views/board/TitleText.h"
#include "views/menus/MenuController.h"
#include "views/theme/EasedValue.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"
#include "views/widgets/CaptureMarks.h"
#include "views/widgets/KeyboardFocus.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

#include "views/board/TaskRowAccessible.h"

#include <QAccessible>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QVBoxLayout>

namespace furrow {

namespace {
constexpr int kLineSpacing = 12;

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TaskRowAccessible::make);
        return true;
    }();
    Q_UNUSED(installed);
}
} // namespace

TaskRow::TaskRow(BoardScope scope, const RowContent &content, QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_content(content)
    , m_layout(new QVBoxLayout(this))
    , m_mainLine(new QHBoxLayout)
    , m_noteLine(new QHBoxLayout)
    , m_box(new TaskBox(kBoxSide, this))
    , m_title(new TitleText(this))
    , m_trailing(new RowTrailing(this))
    , m_separator(new EasedValue(Motion::kEaseMs, Motion::kEaseOut, this))
    , m_keyFocus(new KeyboardFocus(this))
{
    m_box->setObjectName(QStringLiteral("checkBox"));
    m_title->setObjectName(QStringLiteral("titleText"));
    m_trailing->setObjectName(QStringLiteral("trailing"));
    installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    m_layout->setSpacing(6);
    m_layout->addLayout(m_mainLine);
    m_layout->addLayout(m_noteLine);
    m_noteLine->setContentsMargins(qCeil(kBoxSide) + kLineSpacing, 0, 0, 0);
    buildMainLine();
    m_separator->jumpTo(1);
    connect(m_separator, &EasedValue::valueChanged, this, qOverload<>(&QWidget::update));
    // Captures no part of the row: a focused row still reports while it is being destroyed.
    connect(m_keyFocus, &KeyboardFocus::changed, this,
            [focus = m_keyFocus, &state = m_scope.state, id = content.id] {
                if (focus->isActive())
                    state.setKeyFocusId(id);
                else
                    state.clearKeyFocusIf(id);
            });
    connect(m_keyFocus, &KeyboardFocus::changed, this, qOverload<>(&QWidget::update));

    m_title->setText(content.title);
    m_trailing->setDue(content.dueText, content.overdue, content.repeatWords);
    m_trailing->setReminderPending(content.reminderPending);
    m_trailing->setProject(content.hasProject, content.projectName, content.projectColor);
    applyDone();
    updateNoteLine();
    updateMargins();
}

void TaskRow::buildMainLine()
{
    m_mainLine->setSpacing(kLineSpacing);
    m_mainLine->addWidget(m_box, 0, Qt::AlignVCenter);
    m_mainLine->addWidget(m_title, 1);
    m_mainLine->addWidget(m_trailing, 0, Qt::AlignVCenter);
    connect(m_box, &QAbstractButton::clicked, this, &TaskRow::toggle);
    connect(m_title, &TitleText::clicked, this, [this](int position) { beginEdit(position); });
    connect(m_title, &TitleText::dragRequested, this, &TaskRow::startDrag);
    connect(m_trailing, &RowTrailing::tagClicked, this, &TaskRow::openProjectPicker);
}

TaskItem *TaskRow::task() const
{
    return PlannerStore(m_scope.model).task(m_content.id);
}

void TaskRow::setContent(const RowContent &content)
{
    const RowContent old = std::exchange(m_content, content);
    if (content.title != old.title) {
        m_title->setText(content.title);
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (content.dueText != old.dueText || content.overdue != old.overdue
        || content.repeatWords != old.repeatWords)
        m_trailing->setDue(content.dueText, content.overdue, content.repeatWords);
    if (content.reminderPending != old.reminderPending)
        m_trailing->setReminderPending(content.reminderPending);
    if (content.hasProject != old.hasProject || content.projectName != old.projectName
        || content.projectColor != old.projectColor)
        m_trailing->setProject(content.hasProject, content.projectName, content.projectColor);
    if (content.done != old.done) {
        applyDone();
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    updateNoteLine();
    if (RowControls *controls = this->controls())
        controls->setHelp(!content.dueText.isEmpty(), content.hasNote());
}

void TaskRow::applyDone()
{
    const bool done = m_content.done;
    m_box->setDone(done);
    m_box->setAccessibleName(done ? QStringLiteral("Reopen task") : QStringLiteral("Close task"));
    m_title->setDone(done);
    // A title editor stays open when the task is closed elsewhere (sync, import): the draft
    // is the user's, and Return or leaving the field still saves it.
    m_trailing->setControlsWidth(RowControls::widthFor(done));
    if (RowControls *controls = this->controls(); controls && controls->isForDone() != done) {
        m_trailing->removeControls();
        updateControls();
    }
}

void TaskRow::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    updateMargins();
}

void TaskRow::setNotesHidden(bool hidden)
{
    if (hidden == m_notesHidden)
        return;
    m_notesHidden = hidden;
    updateNoteLine();
}

void TaskRow::updateMargins()
{
    const int padding = m_compact ? 7 : 11;
    const qreal gap = m_drop ? m_drop->gapHeight() : 0;
    m_layout->setContentsMargins(kInset, 1 + qRound(gap) + padding, kInset, padding);
}

void TaskRow::setDropTarget(const std::optional<TaskDropTarget> &target)
{
    if (!target) {
        delete std::exchange(m_drop, nullptr);
        setAcceptDrops(false);
        updateMargins();
        return;
    }
    if (!m_drop) {
        m_drop = new DropFeedback(m_scope.model, this);
        m_drop->setObjectName(QStringLiteral("dropFeedback"));
        connect(m_drop, &DropFeedback::changed, this, [this] {
            updateMargins();
            update();
        });
    }
    m_drop->setTarget(*target);
}

void TaskRow::setSeparator(bool present, bool faded)
{
    if (present != m_separatorPresent) {
        m_separatorPresent = present;
        update();
    }
    m_separator->setTarget(faded ? 0 : 1);
}

qreal TaskRow::separatorOpacity() const
{
    return m_separatorPresent ? m_separator->value() : 0;
}

RowControls *TaskRow::controls() const
{
    return qobject_cast<RowControls *>(m_trailing->controls());
}

bool TaskRow::showsControls() const
{
    return !isEditingTitle() && m_scope.state.litId() == m_content.id;
}

void TaskRow::restoreFocus()
{
    m_keyFocus->restore();
}

void TaskRow::updateControls()
{
    const bool shown = showsControls();
    if (shown)
        ensureControls();
    m_trailing->setControlsShown(shown);
    m_box->setHovering(m_hovering);
    update();
}

void TaskRow::ensureControls()
{
    if (controls())
        return;
    auto *controls = new RowControls(m_scope, m_content.id, m_content.done);
    controls->setHelp(!m_content.dueText.isEmpty(), m_content.hasNote());
    connect(controls, &RowControls::noteRequested, this, &TaskRow::beginNote);
    m_trailing->setControls(controls, RowControls::widthFor(m_content.done));
    orderFocusChain();
}

std::vector<QWidget *> TaskRow::focusWidgets() const
{
    std::vector<QWidget *> widgets{const_cast<TaskRow *>(this)};
    if (m_titleEditor)
        widgets.push_back(m_titleEditor);
    if (m_noteEditor)
        widgets.push_back(m_noteEditor);
    if (RowControls *controls = this->controls()) {
        const auto own = controls->focusWidgets();
        widgets.insert(widgets.end(), own.begin(), own.end());
    }
    return widgets;
}

void TaskRow::orderFocusChain()
{
    // Parts made later join the chain at its end; Tab should go from the row to them.
    const std::vector<QWidget *> widgets = focusWidgets();
    for (std::size_t i = 1; i < widgets.size(); ++i) {
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
        m_keyFocus->watch(widgets[i]);
    }
}

void TaskRow::toggle()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    PlannerStore store(m_scope.model);
    if (task->isDone()) {
        store.reopen(*task);
        return;
    }
    // The title being edited is saved before the task closes.
    if (m_titleEditor) {
        const QString draft = m_titleEditor->text();
        const QStringList refused = m_titleMarks->refused();
        endEdit(true);
        store.applyInlineEdit(draft, *task, refused);
    }
    store.close(*task);
    if (m_scope.state.selectedId() == m_content.id)
        m_scope.state.setSelectedId({});
}

void TaskRow::beginEdit(int cursorPosition)
{
    TaskItem *task = this->task();
    if (m_content.done || m_titleEditor || !task)
        return;
    m_scope.state.setSelectedId(m_content.id);
    const auto projectName
        = task->project() ? std::optional<QString>(task->project()->name()) : std::nullopt;
    m_titleEditor = new TitleEditor(this);
    m_titleEditor->setObjectName(QStringLiteral("titleEditor"));
    m_titleEditor->setText(InlineSyntax::compose(task->title(), projectName));
    // The title is a prefix of the edited text, so a place in it is the same place here.
    m_titleEditor->setCursorPosition(cursorPosition);
    m_titleMarks
        = new CaptureMarks(m_titleEditor, [this](const QString &text, const QStringList &refused) {
              return PlannerStore(m_scope.model).readCapture(text, refused);
          });
    m_titleMarks->keepDatesAsText();
    // Laid out at the title's width from the start, so it opens as tall as the title.
    m_titleEditor->resize(m_title->width(), m_title->height());
    m_mainLine->insertWidget(m_mainLine->indexOf(m_title), m_titleEditor, 1);
    m_title->hide();
    orderFocusChain();
    connect(m_titleEditor, &TitleEditor::submitted, this, [this] { commitTitle(true); });
    connect(m_titleEditor, &TitleEditor::cancelled, this, [this] { endEdit(true); });
    connect(m_titleEditor, &TitleEditor::focusLost, this, [this] { commitTitle(false); });
    updateControls();
    QMetaObject::invokeMethod(m_titleEditor, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
}

void TaskRow::commitTitle(bool refocus)
{
    if (!m_titleEditor)
        return;
    const QString draft = m_titleEditor->text();
    const QStringList refused = m_titleMarks->refused();
    endEdit(refocus);
    if (TaskItem *task = this->task())
        PlannerStore(m_scope.model).applyInlineEdit(draft, *task, refused);
}

void TaskRow::commitEdits()
{
    commitTitle(true);
    commitNote();
}

void TaskRow::endEdit(bool refocus)
{
    TitleEditor *editor = std::exchange(m_titleEditor, nullptr);
    if (!editor)
        return;
    m_titleMarks = nullptr; // goes with the editor
    m_title->show();
    InlineField::retire(editor, this, refocus ? this : nullptr);
    updateControls();
}

void TaskRow::beginNote()
{
    TaskItem *task = this->task();
    if (m_noteEditor || !task)
        return;
    m_noteEditor = new NoteEditor(this);
    m_noteEditor->setObjectName(QStringLiteral("noteEditor"));
    m_noteEditor->setPlainText(task->note());
    m_noteEditor->moveCursor(QTextCursor::End);
    // Return saves here, where a user may expect a new line and type on into the board.
    m_noteHint = new TextLabel(QStringLiteral("Return saves · Shift+Return new line"),
                               Theme::sans(11), Theme::line, this);
    m_noteHint->setObjectName(QStringLiteral("noteHint"));
    m_noteHint->setContentsMargins(qCeil(kBoxSide) + kLineSpacing, 0, 0, 0);
    m_layout->addWidget(m_noteHint);
    orderFocusChain();
    connect(m_noteEditor, &NoteEditor::submitted, this, &TaskRow::commitNote);
    connect(m_noteEditor, &NoteEditor::cancelled, this, &TaskRow::endNote);
    connect(m_noteEditor, &NoteEditor::focusLost, this, &TaskRow::commitNote);
    updateNoteLine();
    QMetaObject::invokeMethod(m_noteEditor, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
}

void TaskRow::commitNote()
{
    if (!m_noteEditor)
        return;
    const QString draft = m_noteEditor->toPlainText().trimmed();
    endNote();
    if (TaskItem *task = this->task())
        PlannerStore(m_scope.model).setNote(draft, *task);
}

void TaskRow::endNote()
{
    NoteEditor *editor = std::exchange(m_noteEditor, nullptr);
    if (!editor)
        return;
    delete std::exchange(m_noteHint, nullptr);
    InlineField::retire(editor, this, this);
    updateNoteLine();
}

void TaskRow::updateNoteLine()
{
    const bool showText = !m_noteEditor && m_content.hasNote() && !m_notesHidden;
    if (showText && !m_noteText) {
        m_noteText = new NoteText(this);
        m_noteText->setObjectName(QStringLiteral("noteText"));
        m_noteLine->addWidget(m_noteText);
        connect(m_noteText, &NoteText::editRequested, this, &TaskRow::beginNote);
    }
    if (m_noteText) {
        if (showText)
            m_noteText->setNote(m_content.note);
        m_noteText->setVisible(showText);
    }
    if (m_noteEditor && m_noteLine->indexOf(m_noteEditor) < 0)
        m_noteLine->addWidget(m_noteEditor);
    m_title->setNoteDot(!m_content.done && m_content.hasNote() && m_notesHidden);
}

void TaskRow::openMenu()
{
    ensureControls();
    controls()->openMenu();
}

void TaskRow::openProjectPicker()
{
    if (const TaskItem *task = this->task()) {
        m_scope.menus.show(RowMenu::kProjectPickerWidth, m_trailing->tag(),
                           RowMenu::projectPicker(m_scope.model, m_scope.menus, *task));
    }
}

void TaskRow::fadeIn()
{
    if (Motion::reduceMotion() || graphicsEffect())
        return;
    auto *effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(effect);
    auto *animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(Motion::kEaseMs);
    animation->setEasingCurve(Motion::kEaseOut);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    // The effect is removed on the next turn: deleting it now would delete the running
    // animation inside its own signal.
    connect(animation, &QAbstractAnimation::finished, this, [this, effect] {
        QMetaObject::invokeMethod(
            this,
            [this, effect] {
                if (graphicsEffect() == effect)
                    setGraphicsEffect(nullptr);
            },
            Qt::QueuedConnection);
    });
    animation->start();
}

} // namespace furrow
