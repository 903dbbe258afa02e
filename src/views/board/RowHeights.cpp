#include "views/board/RowHeights.h"

#include <QHash>

#include <algorithm>

namespace furrow {

void RowHeights::setRows(const std::vector<Row> &rows)
{
    // A row whose note line came or went measures differently now.
    QHash<QUuid, std::pair<bool, int>> known;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_measured[i] > 0)
            known.insert(m_rows[i].id, {m_rows[i].hasNote, m_measured[i]});
    }
    m_rows = rows;
    m_measured.assign(m_rows.size(), 0);
    if (!known.isEmpty()) {
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const auto [hasNote, height] = known.value(m_rows[i].id, {false, 0});
            if (hasNote == m_rows[i].hasNote)
                m_measured[i] = height;
        }
    }
    recomputeTops(0);
}

void RowHeights::forgetMeasurements()
{
    std::fill(m_measured.begin(), m_measured.end(), 0);
    recomputeTops(0);
}

bool RowHeights::setMeasured(qsizetype index, int height)
{
    const std::size_t at = std::size_t(index);
    if (at >= m_rows.size() || height <= 0)
        return false;
    const bool changed = this->height(index) != height;
    m_measured[at] = height;
    if (changed)
        recomputeTops(index);
    return changed;
}

void RowHeights::setEstimates(int line, int noteLine)
{
    if (line == m_line && noteLine == m_noteLine)
        return;
    m_line = line;
    m_noteLine = noteLine;
    recomputeTops(0);
}

qsizetype RowHeights::firstBelow(int y) const
{
    // The first row whose bottom (the next row's top) is below y.
    const auto at = std::upper_bound(m_tops.begin() + 1, m_tops.end(), y);
    return qsizetype(at - (m_tops.begin() + 1));
}

qsizetype RowHeights::endAbove(int bottom) const
{
    const auto at = std::lower_bound(m_tops.begin(), m_tops.end() - 1, bottom);
    return qsizetype(at - m_tops.begin());
}

int RowHeights::estimate(const Row &row) const
{
    return m_line + (row.hasNote ? m_noteLine : 0);
}

void RowHeights::recomputeTops(qsizetype from)
{
    m_tops.resize(m_rows.size() + 1);
    for (std::size_t i = std::size_t(from); i < m_rows.size(); ++i)
        m_tops[i + 1] = m_tops[i] + (m_measured[i] > 0 ? m_measured[i] : estimate(m_rows[i]));
}

} // namespace furrow
