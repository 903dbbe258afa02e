#pragma once

#include <QUuid>

#include <vector>

namespace furrow {

// The heights and tops of a section's rows, most of which have never been made: a row that
// was measured keeps its height by task id, also across a change of width, until it is made
// and measured again; the others count as a one-line row, plus a note line when they have a
// note to show. Finding the rows in a band of the column is a binary
// search, so the cost of a scroll step does not grow with the number of rows.
class RowHeights
{
public:
    struct Row
    {
        QUuid id;
        bool hasNote = false;
    };

    // Starts over with these rows; measurements of ids that stay, with or without a note line
    // as before, are kept.
    void setRows(const std::vector<Row> &rows);
    // Forgets every measurement, as after a change of row style.
    void forgetMeasurements();
    // Records the measured height of row `index`; answers whether it differed from before.
    bool setMeasured(qsizetype index, int height);
    // What one-line rows and note lines measure, learnt from the rows made so far.
    void setEstimates(int line, int noteLine);

    qsizetype count() const { return qsizetype(m_rows.size()); }
    int top(qsizetype index) const { return m_tops[std::size_t(index)]; }
    int height(qsizetype index) const { return top(index + 1) - top(index); }
    int total() const { return m_tops.back(); }
    // The first row that reaches below `y`, and one past the last row that starts above `bottom`.
    qsizetype firstBelow(int y) const;
    qsizetype endAbove(int bottom) const;

private:
    int estimate(const Row &row) const;
    void recomputeTops(qsizetype from);

    std::vector<Row> m_rows;
    std::vector<int> m_measured; // 0: never measured
    std::vector<int> m_tops{0};  // one more than the rows: the last is the total height
    int m_line = 40;
    int m_noteLine = 24;
};

} // namespace furrow
