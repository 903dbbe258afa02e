#pragma once

#include <QObject>
#include <QUuid>

#include <functional>
#include <optional>
#include <vector>

class QScrollArea;
class QScrollBar;

namespace furrow {

class SectionBlock;

// Keeps what is at the top of the page's view in place while the column's layout changes
// under it (rows measured as they are made, notes hidden or shown, compact rows, a new width,
// a sync changing rows above), and makes the rows that the view then shows. It remembers the
// rows at the top of the view by task id with their distance from the view's top; after a
// change it lays the column out, scrolls so that the first of them still in its place is
// where it was, and makes the rows in view, until measuring them moves nothing.
class ScrollAnchor : public QObject
{
    Q_OBJECT

public:
    using Blocks = std::function<const std::vector<SectionBlock *> &()>;

    ScrollAnchor(QScrollArea *scroll, Blocks blocks, QObject *parent = nullptr);

    // Takes what is at the top of the view now as the place to keep.
    void remember();
    // Brings the remembered place back now, then remembers afresh.
    void restore();
    // Restores on a later turn, once the layouts under way have run.
    void restoreLater();

private:
    // A row (or, with a null task id, a block's top) and its distance from the view's top.
    struct Spot
    {
        QUuid sectionId;
        QUuid taskId;
        bool done = false;
        int offset = 0;
    };

    QScrollBar *bar() const;
    void scrolled();
    void rememberBlock(const SectionBlock &block, int top, int bottom);
    std::optional<int> topOf(const Spot &spot) const;
    // The column position the view's top should have to keep the first spot still found.
    std::optional<int> wantedTop() const;
    void settleLayout();
    void makeRows();

    QScrollArea *m_scroll;
    Blocks m_blocks;
    std::vector<Spot> m_spots;
    bool m_restoring = false;
    bool m_pending = false;
    bool m_rangeChanged = false; // the scroll range changed since the last scroll
};

} // namespace furrow
