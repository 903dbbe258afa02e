#include "views/board/ComposeLine.h"

#include "model/PlannerStore.h"
#include "views/board/BoardState.h"
#include "views/board/InlineField.h"
#include "views/board/TaskRow.h"
#include "views/theme/Icon.h"
#include "views/theme/Theme.h"
#include "views/widgets/CaptureMarks.h"
#include "views/widgets/CaptureSummary.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>

namespace furrow {

namespace {

constexpr int kGap = 12;

// "Add task" with a plus in the check box's column, across the whole line.
class ComposePrompt : public QAbstractButton
{
public:
    explicit ComposePrompt(QWidget *parent)
        : QAbstractButton(parent)
    {
        setText(QStringLiteral("Add task"));
        setFont(Theme::taskQuick());
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        return {200, std::max(qCeil(TaskRow::kBoxSide), QFontMetrics(font()).height())};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const bool keyboardFocus
            = hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
        const QColor color = underMouse() || keyboardFocus ? Theme::gray : Theme::line;
        const qreal box = TaskRow::kBoxSide;
        Icon::paintSymbol(painter, QRectF(0, 0, box, height()), QStringLiteral("plus"), 14, color);
        painter.setPen(color);
        painter.drawText(QRectF(box + kGap, 0, width() - box - kGap, height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text());
    }
};

} // namespace

ComposeLine::ComposeLine(BoardScope scope, const QUuid &sectionId, QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_sectionId(sectionId)
    , m_prompt(new ComposePrompt(this))
    , m_box(new TaskBox(TaskRow::kBoxSide, this))
{
    m_prompt->setObjectName(QStringLiteral("prompt"));
    auto *layout = new QHBoxLayout(this);
    layout->setSpacing(kGap);
    layout->addWidget(m_prompt);
    m_box->setDashed(true);
    m_box->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_box->hide();
    layout->addWidget(m_box);
    setCompact(false);
    connect(m_prompt, &QAbstractButton::clicked, this,
            [this] { m_scope.state.setComposingSection(m_sectionId); });
    connect(&scope.state, &BoardState::composingChanged, this,
            [this](const QUuid &, const QUuid &current) { followComposing(current); });
    followComposing(scope.state.composingSection());
}

std::vector<QWidget *> ComposeLine::focusWidgets() const
{
    if (m_field)
        return {m_prompt, m_field};
    return {m_prompt};
}

void ComposeLine::setCompact(bool compact)
{
    const int padding = compact ? 7 : 11;
    layout()->setContentsMargins(TaskRow::kInset, padding, TaskRow::kInset, padding);
}

void ComposeLine::followComposing(const QUuid &composing)
{
    if (composing == m_sectionId)
        open();
    else
        close();
}

void ComposeLine::open()
{
    if (!m_field) {
        m_field = new InlineField(Theme::taskQuick(), QStringLiteral("New task"), this);
        m_field->setObjectName(QStringLiteral("composeField"));
        layout()->addWidget(m_field);
        QWidget::setTabOrder(m_prompt, m_field);
        connect(m_field, &InlineField::submitted, this, &ComposeLine::commit);
        connect(m_field, &InlineField::cancelled, this, &ComposeLine::cancel);
        connect(m_field, &InlineField::focusLost, this, &ComposeLine::cancel);
        m_pasted = new TextLabel({}, Theme::small(), Theme::muted, this);
        m_pasted->setObjectName(QStringLiteral("pastedTasks"));
        m_pasted->hide();
        layout()->addWidget(m_pasted);
        connect(m_field, &QLineEdit::textChanged, m_pasted, [this](const QString &text) {
            m_pasted->setText(CaptureSummary::pastedTasks(text));
            m_pasted->setVisible(!m_pasted->text().isEmpty());
        });
        m_marks
            = new CaptureMarks(m_field, [this](const QString &text, const QStringList &refused) {
                  return PlannerStore(m_scope.model).readCapture(text, refused);
              });
    }
    m_prompt->hide();
    m_box->show();
    QMetaObject::invokeMethod(m_field, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
}

void ComposeLine::close()
{
    InlineField *field = std::exchange(m_field, nullptr);
    if (!field)
        return;
    m_marks = nullptr; // goes with the field
    delete std::exchange(m_pasted, nullptr);
    m_box->hide();
    m_prompt->show();
    // Escape leaves the focus on the line instead of letting it wander off.
    InlineField::retire(field, this, m_prompt);
}

void ComposeLine::commit()
{
    const QString text = m_field->text().trimmed();
    if (text.isEmpty()) {
        m_scope.state.setComposingSection({});
        return;
    }
    PlannerStore store(m_scope.model);
    if (Section *section = store.liveSection(m_sectionId)) {
        if (CaptureSummary::pastedTasks(text).isEmpty())
            store.capture(text, section, nullptr, m_marks->refused());
        else
            store.captureLines(text, section, nullptr);
    }
    m_field->clear();
    m_field->setFocus(Qt::OtherFocusReason);
}

void ComposeLine::cancel()
{
    m_scope.state.setComposingSection({});
}

} // namespace furrow
