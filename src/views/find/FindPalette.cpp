#include "FindPalette.h"

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "views/find/FindResultDelegate.h"
#include "views/find/FindResultModel.h"
#include "views/theme/Theme.h"
#include "views/widgets/TextLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace furrow {

namespace {

constexpr int kCardWidth = 620;
constexpr int kCardMargin = 40;
constexpr qreal kCardRadius = 14;
constexpr int kVisibleRows = 8;

} // namespace

FindPalette::FindPalette(ModelContext &context, Search search, Go go, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_search(std::move(search))
    , m_go(std::move(go))
    , m_card(new QWidget(this))
    , m_field(new QLineEdit(m_card))
    , m_heading(new TextLabel(QString(), Theme::slab(13), Theme::muted, m_card))
    , m_list(new QListView(m_card))
    , m_model(new FindResultModel(this))
    , m_message(new TextLabel(QString(), Theme::small(), Theme::clay, m_card))
{
    setObjectName(QStringLiteral("findPalette"));
    buildCard();
    m_field->installEventFilter(this);
    m_list->installEventFilter(this);
    parent->installEventFilter(this); // to follow the window's size
    // A new query starts at its best result, and the last message has had its say.
    connect(m_field, &QLineEdit::textChanged, this, [this] {
        m_message->hide();
        runQuery(false);
    });
    connect(m_list, &QListView::activated, this, &FindPalette::goToCurrent);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FindPalette::announceCurrent);
    // A sync, an undo or an edit elsewhere while the palette is open: the list follows.
    connect(&context, &ModelContext::changed, this, [this] {
        if (isVisible() && !m_field->text().isEmpty())
            runQuery(true);
    });
    hide();
}

void FindPalette::buildCard()
{
    m_card->setObjectName(QStringLiteral("findCard"));
    m_card->setAttribute(Qt::WA_NoMousePropagation);
    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setAccessibleName(QStringLiteral("Find"));
    m_field->setPlaceholderText(QStringLiteral("Find tasks, notes, the archive, pages and goals"));
    m_field->setFont(Theme::taskQuick());
    m_field->setFrame(false);
    m_field->setMaxLength(kQueryLimit);
    m_list->setObjectName(QStringLiteral("findResults"));
    m_list->setAccessibleName(QStringLiteral("Results"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new FindResultDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setStyleSheet(QStringLiteral("QListView { background: transparent; }"));
    m_message->setObjectName(QStringLiteral("findMessage"));
    m_heading->setVisible(false);
    m_message->setVisible(false);

    auto *layout = new QVBoxLayout(m_card);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(8);
    layout->addWidget(m_field);
    layout->addWidget(m_message);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
}

void FindPalette::toggle()
{
    isVisible() ? dismiss() : open();
}

void FindPalette::open()
{
    m_returnFocus = QApplication::focusWidget();
    m_field->clear();
    m_message->hide();
    runQuery(false);
    placeCard();
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
}

void FindPalette::dismiss()
{
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    if (hadFocus && m_returnFocus)
        m_returnFocus->setFocus(Qt::OtherFocusReason);
}

void FindPalette::runQuery(bool keepCurrent)
{
    const QString text = m_field->text();
    if (text.trimmed().isEmpty()) {
        showResults(m_recent, m_recent.empty() ? QString() : QStringLiteral("Recent places"),
                    keepCurrent);
        return;
    }
    std::vector<FindResult> results = m_search(text, kResultLimit);
    const QString heading = results.empty() ? QStringLiteral("Nothing matches") : QString();
    showResults(std::move(results), heading, keepCurrent);
}

void FindPalette::showResults(std::vector<FindResult> results, const QString &heading,
                              bool keepCurrent)
{
    // After a change of the records the current result stays current when it is still listed.
    const FindResult *before = keepCurrent ? current() : nullptr;
    const std::optional<FindResult> kept = before ? std::optional(*before) : std::nullopt;
    m_model->setResults(std::move(results), Clock::now());
    m_heading->setText(heading);
    m_heading->setVisible(!heading.isEmpty());
    m_list->setVisible(m_model->rowCount() > 0);
    const int row = kept ? std::max(0, m_model->rowOf(*kept)) : 0;
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(row));
    placeCard();
}

const FindResult *FindPalette::current() const
{
    const QModelIndex index = m_list->currentIndex();
    return index.isValid() && index.row() < m_model->rowCount() ? &m_model->result(index.row())
                                                                : nullptr;
}

void FindPalette::step(int by)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(m_list->currentIndex().row() + by, 0, count - 1);
    m_list->setCurrentIndex(m_model->index(row));
}

void FindPalette::goToCurrent()
{
    const FindResult *result = current();
    if (!result)
        return;
    const FindResult chosen = *result;
    if (!m_go(chosen)) {
        std::erase_if(m_recent, [&](const FindResult &r) { return sameRecord(r, chosen); });
        tell(QStringLiteral("“%1” is no longer there.").arg(chosen.title));
        runQuery(false);
        return;
    }
    std::erase_if(m_recent, [&](const FindResult &r) { return sameRecord(r, chosen); });
    m_recent.insert(m_recent.begin(), chosen);
    if (m_recent.size() > kRecentPlaces)
        m_recent.resize(kRecentPlaces);
    // The place gone to keeps the focus it was given.
    m_returnFocus = nullptr;
    hide();
}

void FindPalette::toggleCurrent()
{
    const FindResult *result = current();
    if (!result || result->kind != FindResult::Kind::Task)
        return;
    PlannerStore store(m_context);
    TaskItem *task = store.task(result->id);
    if (!task) {
        tell(QStringLiteral("“%1” is no longer there.").arg(result->title));
    } else if (task->isArchived()) {
        store.unarchive(*task, store.fallbackSection());
    } else if (task->isDone()) {
        store.reopen(*task);
    } else {
        store.close(*task);
    }
    runQuery(true);
}

void FindPalette::tell(const QString &message)
{
    m_message->setText(message);
    m_message->show();
}

void FindPalette::announceCurrent()
{
    // The field keeps the focus; a screen reader still follows the current result.
    const QModelIndex index = m_list->currentIndex();
    if (!index.isValid() || m_list->hasFocus())
        return;
    QAccessibleEvent event(m_list, QAccessible::Focus);
    event.setChild(index.row());
    QAccessible::updateAccessibility(&event);
}

bool FindPalette::handleKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Down:
        step(1);
        return true;
    case Qt::Key_Up:
        step(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->modifiers() & Qt::ControlModifier ? toggleCurrent() : goToCurrent();
        return true;
    case Qt::Key_Escape:
        dismiss();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (m_field->hasFocus() && m_list->isVisible())
            m_list->setFocus(Qt::TabFocusReason);
        else
            m_field->setFocus(Qt::TabFocusReason);
        return true;
    default:
        return false;
    }
}

bool FindPalette::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize && isVisible())
            placeCard();
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Return, Esc and Tab belong to the palette while it has the focus, whatever the
        // window's shortcuts say.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void FindPalette::placeCard()
{
    if (QWidget *window = parentWidget())
        setGeometry(window->rect());
    const int width = std::min(kCardWidth, this->width() - 2 * kCardMargin);
    const int rowHeight = m_model->rowCount() > 0 ? m_list->sizeHintForRow(0) : 0;
    const int rows = std::min(m_model->rowCount(), kVisibleRows);
    m_list->setFixedHeight(rows * rowHeight + (rows > 0 ? 4 : 0));
    m_card->setFixedWidth(std::max(width, 200));
    m_card->adjustSize();
    m_card->move((this->width() - m_card->width()) / 2, int(this->height() * 0.12));
}

void FindPalette::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCard();
}

void FindPalette::mousePressEvent(QMouseEvent *event)
{
    // A click beside the card closes the palette.
    QWidget::mousePressEvent(event);
    dismiss();
}

void FindPalette::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Theme::hover);
    QPainterPath card;
    card.addRoundedRect(QRectF(m_card->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), kCardRadius,
                        kCardRadius);
    painter.fillPath(card, Theme::paper);
    painter.setPen(QPen(Theme::hair, 1));
    painter.drawPath(card);
}

} // namespace furrow
