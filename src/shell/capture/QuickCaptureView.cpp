#include "shell/capture/QuickCaptureView.h"

#include "model/InlineSyntax.h"
#include "model/PlannerStore.h"
#include "shell/capture/CaptureChip.h"
#include "shell/capture/ChipBar.h"
#include "shell/capture/LastCaptureProject.h"
#include "views/theme/Theme.h"
#include "views/widgets/CaptureMarks.h"
#include "views/widgets/CaptureSummary.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr int kFieldRowHeight = 60;
constexpr int kChipBarHeight = 52;
constexpr int kSideMargin = 22;

// The short upright bar in front of the field.
class AccentMark : public QWidget
{
public:
    explicit AccentMark(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(3, 22);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::pine);
        painter.drawRoundedRect(QRectF(rect()), 3, 3);
    }
};

// The word being typed as a project at the end of the text gives way to a chosen chip.
QString withoutLastWord(const QString &text)
{
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty())
        words.removeLast();
    return words.join(u' ');
}

} // namespace

QuickCaptureView::QuickCaptureView(ModelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_field(new QLineEdit(this))
    , m_chips(new ChipBar(this))
{
    setObjectName(QStringLiteral("quickCaptureView"));
    setAttribute(Qt::WA_TranslucentBackground);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kSideMargin, 6, kSideMargin, 8);
    layout->setSpacing(0);
    layout->addWidget(buildFieldRow());
    layout->addWidget(buildChipRow());

    if (Project *remembered = LastCaptureProject::load(PlannerStore(m_context).projects()))
        m_projectId = remembered->id();
    m_marks = new CaptureMarks(m_field, [this](const QString &text, const QStringList &refused) {
        return PlannerStore(m_context).readCapture(text, refused);
    });
    connect(m_marks, &CaptureMarks::readingChanged, this, &QuickCaptureView::refreshDueChip);
    connect(m_field, &QLineEdit::textChanged, this, &QuickCaptureView::refreshChips);
    connect(m_field, &QLineEdit::returnPressed, this, &QuickCaptureView::submit);
    connect(m_chips, &ChipBar::picked, this,
            [this](const QUuid &id) { pick(id.isNull() ? nullptr : liveProject(id)); });
    connect(&m_context, &ModelContext::changed, this, [this](RecordKinds kinds) {
        if (!(kinds & RecordKind::Project))
            return;
        m_marks->refresh();
        refreshChips();
    });
    refreshChips();
}

QWidget *QuickCaptureView::buildFieldRow()
{
    auto *row = new QWidget(this);
    row->setFixedHeight(kFieldRowHeight);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addWidget(new AccentMark(row));
    m_field->setObjectName(QStringLiteral("captureField"));
    m_field->setPlaceholderText(QStringLiteral("Drop it here and forget it"));
    m_field->setFrame(false);
    m_field->setFont(Theme::sans(18));
    QPalette palette = m_field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, Theme::ink);
    palette.setColor(QPalette::PlaceholderText, Theme::line);
    palette.setColor(QPalette::Highlight, Theme::bright);
    palette.setColor(QPalette::HighlightedText, Theme::pine);
    m_field->setPalette(palette);
    layout->addWidget(m_field, 1);
    return row;
}

QWidget *QuickCaptureView::buildChipRow()
{
    auto *row = new QWidget(this);
    row->setFixedHeight(kChipBarHeight);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_dueChip = new CaptureChip(QString(), std::nullopt, row);
    m_dueChip->setObjectName(QStringLiteral("captureDueChip"));
    m_dueChip->setAttribute(Qt::WA_TransparentForMouseEvents); // it shows, it does not choose
    m_dueChip->setChecked(true);
    m_dueChip->hide();
    layout->addWidget(m_dueChip, 0, Qt::AlignVCenter);
    m_chips->setObjectName(QStringLiteral("captureChips"));
    layout->addWidget(m_chips, 1);
    return row;
}

void QuickCaptureView::refreshDueChip()
{
    const QString pasted = CaptureSummary::pastedTasks(m_field->text());
    const QString when = pasted.isEmpty() ? CaptureSummary::when(m_marks->reading()) : pasted;
    m_dueChip->setText(when);
    m_dueChip->setVisible(!when.isEmpty());
}

std::vector<Project *> QuickCaptureView::offered() const
{
    std::vector<Project *> projects = PlannerStore(m_context).projects();
    const auto fragment = InlineSyntax::trailingProjectFragment(m_field->text());
    if (!fragment || fragment->isEmpty())
        return projects;
    const QString key = InlineSyntax::normalizedKey(*fragment);
    std::erase_if(projects, [&key](const Project *project) {
        return !InlineSyntax::normalizedKey(project->name()).startsWith(key);
    });
    return projects;
}

Project *QuickCaptureView::liveProject(const QUuid &id) const
{
    for (Project *project : PlannerStore(m_context).projects()) {
        if (project->id() == id)
            return project;
    }
    return nullptr;
}

Project *QuickCaptureView::project() const
{
    return m_projectId.isNull() ? nullptr : liveProject(m_projectId);
}

void QuickCaptureView::pick(Project *project)
{
    m_projectId = project ? project->id() : QUuid();
    if (InlineSyntax::trailingProjectFragment(m_field->text()))
        m_field->setText(withoutLastWord(m_field->text()));
    focusField();
    refreshChips();
}

void QuickCaptureView::submit()
{
    PlannerStore store(m_context);
    Project *chosen = project();
    if (CaptureSummary::pastedTasks(m_field->text()).isEmpty())
        store.capture(m_field->text(), store.firstSection(), chosen, m_marks->refused());
    else
        store.captureLines(m_field->text(), store.firstSection(), chosen);
    LastCaptureProject::save(chosen);
    m_field->clear();
    Q_EMIT dismissed();
}

void QuickCaptureView::focusField()
{
    m_field->setFocus(Qt::OtherFocusReason);
}

void QuickCaptureView::refreshChips()
{
    const std::vector<Project *> projects = offered();
    const QUuid choice = project() ? m_projectId : QUuid();
    std::vector<QUuid> shown{choice};
    for (const Project *project : projects)
        shown.push_back(project->id());
    // Typing letters that change nothing leaves the chips (and a pointer over one) alone.
    if (shown == m_shownChoices && !m_chips->chips().empty())
        return;
    m_shownChoices = shown;
    m_chips->setChoices(projects, choice);
}

void QuickCaptureView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT dismissed();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace furrow
