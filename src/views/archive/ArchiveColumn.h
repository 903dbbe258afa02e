#pragma once

#include "model/Instant.h"
#include "views/archive/ArchiveRow.h"

#include <QHash>
#include <QWidget>

#include <vector>

class QScrollArea;

namespace furrow {

class TextLabel;

// The scrolled body of the archive window (the done and dropped tasks, not the backup
// document): day headers and task rows stacked at fixed heights, with widgets only for the
// entries in view (and a margin), so that its cost follows the window and not the archive.
// Widgets of entries that are unchanged survive a new list and a scroll.
class ArchiveColumn : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSide = 32;

    // One header or row, with what it shows copied from the tasks.
    struct Entry
    {
        enum class Kind { Header, Done, Dropped };
        Kind kind = Kind::Done;
        Instant day;                // headers and done rows: the day's start
        qsizetype count = 0;        // headers: the tasks of the day
        ArchiveRow::Content row;    // rows; days left and description come later
        OptionalInstant archivedAt; // dropped rows
        int y = 0;
        int height = 0;
    };

    explicit ArchiveColumn(QScrollArea *area);

    // Shows the entries (top to bottom), or `emptyText` when there are none; days left and day
    // labels are worded for `now`.
    void setEntries(std::vector<Entry> entries, const QString &emptyText, Instant now);
    bool isEmpty() const { return m_entries.empty(); }
    // The rows that have widgets now, top to bottom.
    QList<ArchiveRow *> rows() const;
    // Scrolls the task's row to the middle of the view and highlights it briefly; false when
    // the list does not hold the task.
    bool reveal(const QUuid &taskId);

    QSize sizeHint() const override;

Q_SIGNALS:
    void putBackRequested(const QUuid &taskId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Shown
    {
        QWidget *widget = nullptr;
        ArchiveRow::Content content; // what the widget shows, to tell whether it is current
    };

    void placeEntries();
    void materialise();
    std::pair<std::size_t, std::size_t> entriesInView() const;
    ArchiveRow::Content contentOf(const Entry &entry, const QString &key);
    QWidget *makeWidget(const Entry &entry, const ArchiveRow::Content &content, bool first);
    void keepTabOrder(bool created);
    int heightOf(Entry::Kind kind, bool first);

    QScrollArea *m_area;
    TextLabel *m_empty;
    std::vector<Entry> m_entries;
    QHash<QString, Shown> m_shown;                // by entry key
    QHash<QString, ArchiveRow::Content> m_worded; // by entry key, for the current list
    Instant m_now;
    int m_contentHeight = 0;
    QHash<int, int> m_heights; // by kind, measured once
};

} // namespace furrow
