#include "shell/tray/TrayPanel.h"

#include "model/PlannerStore.h"
#include "shell/tray/TrayTaskRow.h"
#include "views/theme/IconView.h"
#include "views/theme/Motion.h"
#include "views/theme/Theme.h"
#include "views/widgets/CaptureMarks.h"
#include "views/widgets/FadingSnapshot.h"
#include "views/widgets/LiftedSurface.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

#include <QLineEdit>
#include <QPainter>
#include <QShowEvent>

namespace furrow {

namespace {

constexpr int kMargin = 16;
constexpr int kFieldHeight = 34;
constexpr int kFieldInset = 14;
constexpr qreal kFieldRadius = 17;

Page *firstLivePage(const PlannerStore &store)
{
    const auto pages = store.pages();
    return pages.empty() ? nullptr : pages.front();
}

Section *firstLiveSection(const PlannerStore &store)
{
    const auto sections = store.sections(firstLivePage(store));
    return sections.empty() ? nullptr : sections.front();
}

} // namespace

TrayPanel::TrayPanel(ModelContext &context, QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_context(context)
    , m_layout(Stacks::column(this, 14))
{
    setObjectName(QStringLiteral("trayPanel"));
    setFixedWidth(kWidth);
    m_layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_layout->addWidget(m_header = buildHeader());
    m_layout->addWidget(buildCaptureField());
    m_layout->addWidget(buildButtons());
    connect(&m_context, &ModelContext::changed, this, [this] {
        if (isVisible())
            refresh();
    });
    refresh();
}

QWidget *TrayPanel::buildHeader()
{
    auto *header = new QWidget(this);
    header->setObjectName(QStringLiteral("trayHeader"));
    auto *row = Stacks::row(header, 8);
    m_headerIcon = IconView::pageIcon({}, 18, Theme::ink, header);
    m_headerName = new TextLabel({}, Theme::slab(19), Theme::ink, header);
    m_headerName->setObjectName(QStringLiteral("trayHeaderName"));
    m_headerName->setElided(true);
    row->addWidget(m_headerIcon);
    row->addWidget(m_headerName, 1);
    return header;
}

QWidget *TrayPanel::buildCaptureField()
{
    auto *surface = new LiftedSurface(kFieldRadius, this);
    surface->setFixedHeight(kFieldHeight);
    surface->contentLayout()->setContentsMargins(kFieldInset, 0, kFieldInset, 0);
    m_capture = new QLineEdit(surface);
    m_capture->setObjectName(QStringLiteral("trayCapture"));
    m_capture->setFrame(false);
    m_capture->setPlaceholderText(QStringLiteral("Drop it here and forget it"));
    m_capture->setFont(Theme::small());
    QPalette colors = m_capture->palette();
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    m_capture->setPalette(colors);
    surface->contentLayout()->addWidget(m_capture, 1);
    connect(m_capture, &QLineEdit::returnPressed, this, &TrayPanel::capture);
    m_marks = new CaptureMarks(m_capture, [this](const QString &text, const QStringList &refused) {
        return PlannerStore(m_context).readCapture(text, refused);
    });
    return surface;
}

QWidget *TrayPanel::buildButtons()
{
    auto *buttons = new QWidget(this);
    auto *row = Stacks::row(buttons, 8);
    auto *open = new PillButton(QStringLiteral("Open"), PillButton::Kind::Primary, buttons);
    auto *quick
        = new PillButton(QStringLiteral("Quick capture"), PillButton::Kind::Normal, buttons);
    open->setObjectName(QStringLiteral("trayOpen"));
    quick->setObjectName(QStringLiteral("trayQuickCapture"));
    for (PillButton *button : {open, quick}) {
        button->setCompact(true);
        row->addWidget(button);
    }
    row->addStretch();
    connect(open, &QAbstractButton::clicked, this, [this] {
        hide();
        Q_EMIT openRequested();
    });
    connect(quick, &QAbstractButton::clicked, this, [this] {
        hide();
        Q_EMIT quickCaptureRequested();
    });
    return buttons;
}

void TrayPanel::refresh()
{
    const Page *page = firstLivePage(PlannerStore(m_context));
    m_header->setVisible(page);
    if (page) {
        m_headerIcon->setPageIcon(page->iconName());
        m_headerName->setText(page->name());
    }
    if (m_sections) {
        m_sections->hide();
        m_sections->deleteLater();
    }
    m_sections = buildSections(page);
    m_layout->insertWidget(1, m_sections);
    // Below a fading picture of the old list, which is its sibling.
    m_sections->lower();
    adjustSize();
}

QWidget *TrayPanel::buildSections(const Page *page)
{
    auto *sections = new QWidget(this);
    sections->setObjectName(QStringLiteral("traySections"));
    auto *column = Stacks::column(sections, 12);
    const PlannerStore store(m_context);
    int shown = 0;
    const auto liveSections = store.sections(page);
    // The first three sections are looked at; an empty one among them leaves its place empty.
    for (const Section *section : liveSections) {
        if (shown++ == kMaxSections)
            break;
        const auto open = store.tasks(section);
        if (open.empty())
            continue;
        auto *block = new QWidget(sections);
        auto *blockColumn = Stacks::column(block, 0);
        auto *heading = new TextLabel(section->name(), Theme::sans(12), Theme::muted, block);
        heading->setObjectName(QStringLiteral("traySectionHeading"));
        heading->setElided(true);
        heading->setContentsMargins(0, 0, 0, 4);
        blockColumn->addWidget(heading);
        for (std::size_t i = 0; i < open.size() && i < std::size_t(kMaxRows); ++i) {
            auto *row = new TrayTaskRow(*open[i], block);
            connect(row, &TrayTaskRow::closeRequested, this, &TrayPanel::closeTask);
            blockColumn->addWidget(row);
        }
        column->addWidget(block);
    }
    sections->setVisible(column->count() > 0);
    return sections;
}

void TrayPanel::capture()
{
    PlannerStore store(m_context);
    store.capture(m_capture->text(), firstLiveSection(store), nullptr, m_marks->refused());
    m_capture->clear();
}

void TrayPanel::closeTask(const QUuid &taskId)
{
    TaskItem *task = PlannerStore(m_context).task(taskId);
    if (!task)
        return;
    // The list is rebuilt without the task on the next turn; the old one fades out over it.
    if (m_sections)
        FadingSnapshot::cover(m_sections, Motion::kEaseMs);
    PlannerStore(m_context).close(*task);
}

void TrayPanel::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        refresh();
        m_capture->setFocus(Qt::PopupFocusReason);
    }
    QWidget::showEvent(event);
}

void TrayPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::paper);
    painter.setPen(QPen(Theme::hair, 1));
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace furrow
