#include "views/archive/ArchiveColumn.h"

#include "views/archive/ArchiveContent.h"
#include "views/theme/Theme.h"
#include "views/widgets/FlashHighlight.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/TextLabel.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace furrow {

namespace {

using Kind = ArchiveColumn::Entry::Kind;

// Widgets are kept this far above and below the view, so that a scroll step mostly moves
// widgets that exist and Tab can reach the next row before it scrolls in.
constexpr int kMargin = 240;
constexpr int kBottomPadding = 28;
constexpr int kFirstHeaderTop = 4;
constexpr int kHeaderTop = 22;

// A day's header: its label and how many things it held.
QWidget *makeHeader(const QString &label, const QString &count, bool first, QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, first ? kFirstHeaderTop : kHeaderTop, 0, 4);
    layout->setSpacing(10);
    layout->addWidget(new TextLabel(label, Theme::sans(14, QFont::Medium), Theme::ink, header));
    layout->addWidget(new TextLabel(count, Theme::small(), Theme::muted, header));
    layout->addStretch();
    return header;
}

QString keyOf(const ArchiveColumn::Entry &entry, bool first)
{
    if (entry.kind == Kind::Header)
        return QStringLiteral("h%1%2")
            .arg(microsecondsSinceEpoch(entry.day))
            .arg(first ? QStringLiteral("f") : QString());
    return (entry.kind == Kind::Done ? u'd' : u'x') + entry.row.taskId.toString(QUuid::Id128);
}

} // namespace

ArchiveColumn::ArchiveColumn(QScrollArea *area)
    : m_area(area)
    , m_empty(new TextLabel({}, Theme::body(), Theme::gray, this))
{
    m_empty->setWordWrap(true);
    m_empty->setContentsMargins(0, 6, 0, 0);
    m_empty->hide();
    QScrollBar *bar = area->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &ArchiveColumn::materialise);
    // The range follows the viewport's height, which decides how many rows are in view.
    connect(bar, &QScrollBar::rangeChanged, this, &ArchiveColumn::materialise);
}

void ArchiveColumn::setEntries(std::vector<Entry> entries, const QString &emptyText, Instant now)
{
    m_entries = std::move(entries);
    m_now = now;
    m_worded.clear();
    m_empty->setText(emptyText);
    m_empty->setVisible(m_entries.empty());
    placeEntries();
    setMinimumHeight(m_contentHeight);
    resize(width(), std::max(m_contentHeight, m_area->viewport()->height()));
    updateGeometry();
    materialise();
    update();
}

int ArchiveColumn::heightOf(Kind kind, bool first)
{
    const int slot = int(kind) * 2 + (first ? 1 : 0);
    if (const auto known = m_heights.constFind(slot); known != m_heights.cend())
        return *known;
    int height = 0;
    if (kind == Kind::Header) {
        std::unique_ptr<QWidget> header(
            makeHeader(QStringLiteral("Today"), QStringLiteral("one thing"), first, nullptr));
        height = header->sizeHint().height();
    } else {
        // The taller of a row with a project tag and one without.
        ArchiveRow::Content content{
            {},           QStringLiteral("Title"),        QStringLiteral("Project"),
            Theme::muted, QStringLiteral("30 days left"), {},
            true};
        const auto kindOfRow
            = kind == Kind::Done ? ArchiveRow::Kind::Done : ArchiveRow::Kind::Dropped;
        height = ArchiveRow(kindOfRow, content).sizeHint().height();
        content.hasProject = false;
        height = std::max(height, ArchiveRow(kindOfRow, content).sizeHint().height());
    }
    m_heights.insert(slot, height);
    return height;
}

void ArchiveColumn::placeEntries()
{
    int y = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry &entry = m_entries[i];
        // Dropped rows are parted by hair lines, painted in the gap above each but the first.
        if (entry.kind == Kind::Dropped && i > 0)
            y += 1;
        entry.y = y;
        entry.height = heightOf(entry.kind, i == 0);
        y += entry.height;
    }
    m_contentHeight = m_entries.empty() ? m_empty->sizeHint().height() : y + kBottomPadding;
}

std::pair<std::size_t, std::size_t> ArchiveColumn::entriesInView() const
{
    // The column moves up inside the viewport as it scrolls.
    const int top = -y() - kMargin;
    const int bottom = -y() + m_area->viewport()->height() + kMargin;
    const auto first
        = std::partition_point(m_entries.begin(), m_entries.end(),
                               [top](const Entry &e) { return e.y + e.height <= top; });
    const auto last = std::partition_point(first, m_entries.end(),
                                           [bottom](const Entry &e) { return e.y < bottom; });
    return {std::size_t(first - m_entries.begin()), std::size_t(last - m_entries.begin())};
}

ArchiveRow::Content ArchiveColumn::contentOf(const Entry &entry, const QString &key)
{
    // Day labels and days left ask the time zone several times; each entry asks once per list.
    if (const auto known = m_worded.constFind(key); known != m_worded.cend())
        return *known;
    ArchiveRow::Content content = entry.row;
    switch (entry.kind) {
    case Kind::Header:
        content.title = ArchiveContent::dayLabel(entry.day, m_now);
        content.daysLeft = ArchiveContent::countText(entry.count);
        break;
    case Kind::Done:
        content.description = ArchiveContent::dayLabel(entry.day, m_now);
        break;
    case Kind::Dropped:
        content.daysLeft = ArchiveContent::daysLeftText(entry.archivedAt, m_now);
        content.description = content.daysLeft;
        break;
    }
    m_worded.insert(key, content);
    return content;
}

bool ArchiveColumn::reveal(const QUuid &taskId)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
        return e.kind != Entry::Kind::Header && e.row.taskId == taskId;
    });
    if (found == m_entries.end())
        return false;
    m_area->ensureVisible(0, found->y + found->height / 2, 0, m_area->viewport()->height() / 2);
    materialise();
    for (ArchiveRow *row : rows()) {
        if (row->taskId() == taskId)
            FlashHighlight::flash(row);
    }
    return true;
}

void ArchiveColumn::materialise()
{
    const auto [from, to] = entriesInView();
    QHash<QString, Shown> kept;
    bool created = false;
    for (std::size_t i = from; i < to; ++i) {
        const Entry &entry = m_entries[i];
        const QString key = keyOf(entry, i == 0);
        const ArchiveRow::Content content = contentOf(entry, key);
        Shown shown = m_shown.take(key);
        if (shown.widget && !(shown.content == content)) {
            shown.widget->hide();
            shown.widget->deleteLater();
            shown.widget = nullptr;
        }
        if (!shown.widget) {
            shown = {makeWidget(entry, content, i == 0), content};
            created = created || qobject_cast<ArchiveRow *>(shown.widget);
        }
        shown.widget->setGeometry(kSide, entry.y, width() - 2 * kSide, entry.height);
        shown.widget->show();
        kept.insert(key, shown);
    }
    for (const Shown &gone : std::as_const(m_shown)) {
        gone.widget->hide();
        // Later: a row may be the sender of the signal that led here.
        gone.widget->deleteLater();
    }
    m_shown = std::move(kept);
    keepTabOrder(created);
}

QWidget *ArchiveColumn::makeWidget(const Entry &entry, const ArchiveRow::Content &content,
                                   bool first)
{
    if (entry.kind == Kind::Header)
        return makeHeader(content.title, content.daysLeft, first, this);
    auto *row = new ArchiveRow(entry.kind == Kind::Done ? ArchiveRow::Kind::Done
                                                        : ArchiveRow::Kind::Dropped,
                               content, this);
    connect(row, &ArchiveRow::putBackRequested, this, &ArchiveColumn::putBackRequested);
    return row;
}

// New widgets join the end of the focus chain; once any has, the shown rows are chained again
// in the order shown, so Tab runs through them top to bottom. Only the rows in view are chained.
void ArchiveColumn::keepTabOrder(bool created)
{
    if (!created)
        return;
    const QList<ArchiveRow *> shown = rows();
    for (qsizetype i = 1; i < shown.size(); ++i)
        QWidget::setTabOrder(shown[i - 1]->putBackButton(), shown[i]->putBackButton());
}

QList<ArchiveRow *> ArchiveColumn::rows() const
{
    QList<ArchiveRow *> result;
    for (const Shown &shown : m_shown) {
        if (auto *row = qobject_cast<ArchiveRow *>(shown.widget))
            result.push_back(row);
    }
    std::sort(result.begin(), result.end(),
              [](const ArchiveRow *a, const ArchiveRow *b) { return a->y() < b->y(); });
    return result;
}

QSize ArchiveColumn::sizeHint() const
{
    return {QWidget::sizeHint().width(), m_contentHeight};
}

void ArchiveColumn::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    const auto [from, to] = entriesInView();
    for (std::size_t i = std::max<std::size_t>(from, 1); i < to; ++i) {
        const Entry &entry = m_entries[i];
        const QRect line(kSide, entry.y - 1, width() - 2 * kSide, 1);
        if (entry.kind == Kind::Dropped && dirty.intersects(line))
            painter.fillRect(line, Theme::hair);
    }
}

void ArchiveColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_empty->setGeometry(kSide, 0, std::max(0, width() - 2 * kSide),
                         m_empty->heightForWidth(std::max(1, width() - 2 * kSide)));
    materialise();
}

} // namespace furrow
