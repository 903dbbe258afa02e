#include "views/pickers/PageIconPicker.h"

#include "views/pickers/IconCell.h"
#include "views/theme/IconView.h"
#include "views/theme/PageIcons.h"
#include "views/theme/Theme.h"
#include "views/widgets/IconButton.h"
#include "views/widgets/LiftedSurface.h"
#include "views/widgets/QuietScrollArea.h"
#include "views/widgets/StepLabel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr int kColumns = 9;
constexpr int kBodyHeight = 318;

} // namespace

PageIconPicker::PageIconPicker(const QString &selected, QWidget *parent)
    : QWidget(parent)
    , m_selected(selected)
    , m_nothingFound(new QLabel(QStringLiteral("Nothing found.")))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(10);
    layout->addWidget(buildSearchRow());

    m_area = new QuietScrollArea(this);
    m_area->setFixedHeight(kBodyHeight);
    auto *body = new QWidget;
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 4, 0);
    m_catalogue = buildCatalogue();
    bodyLayout->addWidget(m_catalogue);
    m_nothingFound->setFont(Theme::small());
    QPalette colors = m_nothingFound->palette();
    colors.setColor(QPalette::WindowText, Theme::muted);
    m_nothingFound->setPalette(colors);
    m_nothingFound->setContentsMargins(4, 6, 4, 6);
    bodyLayout->addWidget(m_nothingFound);
    bodyLayout->addStretch();
    m_area->setContent(body);
    layout->addWidget(m_area);
    showQuery();
}

QWidget *PageIconPicker::buildSearchRow()
{
    auto *row = new LiftedSurface(10, this);
    row->setFixedHeight(34);
    row->contentLayout()->setContentsMargins(10, 0, 4, 0);
    row->contentLayout()->addWidget(
        IconView::symbol(QStringLiteral("magnifyingglass"), 14, Theme::muted, row));
    m_search = new QLineEdit(row);
    m_search->setObjectName(QStringLiteral("iconSearch"));
    m_search->setFrame(false);
    m_search->setPlaceholderText(QStringLiteral("Search icons"));
    m_search->setFont(Theme::small());
    QPalette colors = m_search->palette();
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    m_search->setPalette(colors);
    m_search->installEventFilter(this);
    row->contentLayout()->addWidget(m_search, 1);
    m_clear = new IconButton(QStringLiteral("xmark.circle.fill"), 14, row);
    m_clear->setColors(Theme::line, Theme::gray);
    m_clear->setAccessibleName(QStringLiteral("Clear"));
    row->contentLayout()->addWidget(m_clear);
    connect(m_clear, &QAbstractButton::clicked, this, [this] {
        setQuery({});
        m_search->setFocus();
    });
    connect(m_search, &QLineEdit::textChanged, this, &PageIconPicker::showQuery);
    return row;
}

QWidget *PageIconPicker::buildGrid(const QStringList &names, QList<IconCell *> &cells)
{
    auto *grid = new QWidget;
    auto *layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int column = 0; column < kColumns; ++column)
        layout->setColumnStretch(column, 1);
    for (int i = 0; i < names.size(); ++i) {
        auto *cell = new IconCell(names[i], names[i] == m_selected, grid);
        layout->addWidget(cell, i / kColumns, i % kColumns);
        cell->installEventFilter(this);
        cells.append(cell);
        connect(cell, &QAbstractButton::clicked, this,
                [this, name = names[i]] { Q_EMIT picked(name); });
    }
    return grid;
}

QWidget *PageIconPicker::buildCatalogue()
{
    auto *catalogue = new QWidget;
    auto *layout = new QVBoxLayout(catalogue);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (const PageIcons::Group &group : PageIcons::groups()) {
        auto *header = new StepLabel(group.name);
        header->setContentsMargins(4, layout->count() ? 8 : 0, 0, 0);
        layout->addWidget(header);
        layout->addWidget(buildGrid(group.icons, m_catalogueCells));
    }
    return catalogue;
}

QString PageIconPicker::query() const
{
    return m_search->text();
}

void PageIconPicker::setQuery(const QString &query)
{
    m_search->setText(query);
}

bool PageIconPicker::isSearching() const
{
    return !query().trimmed().isEmpty();
}

bool PageIconPicker::showsNothingFound() const
{
    return m_nothingFound->isVisibleTo(this);
}

QList<IconCell *> PageIconPicker::visibleCells() const
{
    return isSearching() ? m_resultCells : m_catalogueCells;
}

void PageIconPicker::showQuery()
{
    m_clear->setVisible(!query().isEmpty());
    delete m_results;
    m_results = nullptr;
    m_resultCells.clear();
    const bool searching = isSearching();
    const QStringList found = searching ? PageIcons::search(query()) : QStringList();
    if (!found.isEmpty()) {
        m_results = buildGrid(found, m_resultCells);
        static_cast<QVBoxLayout *>(m_catalogue->parentWidget()->layout())
            ->insertWidget(0, m_results);
        m_results->show();
    }
    m_catalogue->setVisible(!searching);
    m_nothingFound->setVisible(searching && found.isEmpty());
}

void PageIconPicker::moveFocus(IconCell *from, int step)
{
    const QList<IconCell *> cells = visibleCells();
    const qsizetype at = cells.indexOf(from);
    if (at < 0)
        return;
    const qsizetype next = at + step;
    if (next >= 0 && next < cells.size()) {
        cells[next]->setFocus(Qt::TabFocusReason);
        m_area->ensureWidgetVisible(cells[next]);
    } else if (next < 0) {
        m_search->setFocus(Qt::TabFocusReason);
    }
}

bool PageIconPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (watched == m_search) {
        // Down leaves the search field for the first icon shown; Return picks the first match.
        if (key == Qt::Key_Down && !visibleCells().isEmpty()) {
            visibleCells().front()->setFocus(Qt::TabFocusReason);
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && isSearching()) {
            if (!m_resultCells.isEmpty())
                m_resultCells.front()->click();
            return true;
        }
        return false;
    }
    auto *cell = qobject_cast<IconCell *>(watched);
    const int steps[] = {-1, 1, -kColumns, kColumns};
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    for (int i = 0; i < 4; ++i) {
        if (cell && key == keys[i]) {
            moveFocus(cell, steps[i]);
            return true;
        }
    }
    if (cell && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        cell->click();
        return true;
    }
    return false;
}

} // namespace furrow
