#include "FindResultModel.h"

#include "views/find/FindRowText.h"

namespace furrow {

bool sameRecord(const FindResult &a, const FindResult &b)
{
    return a.kind == b.kind && a.id == b.id && a.goalSlot == b.goalSlot;
}

void FindResultModel::setResults(std::vector<FindResult> results, Instant now)
{
    beginResetModel();
    m_results = std::move(results);
    m_now = now;
    endResetModel();
}

int FindResultModel::rowOf(const FindResult &result) const
{
    for (size_t i = 0; i < m_results.size(); ++i) {
        if (sameRecord(m_results[i], result))
            return int(i);
    }
    return -1;
}

int FindResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

QVariant FindResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const FindResult &result = m_results[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        QString text = FindRowText::line(result, m_now);
        if (!result.snippet.isEmpty())
            text += QStringLiteral(" · ") + result.snippet;
        return text;
    }
    default:
        return {};
    }
}

} // namespace furrow
