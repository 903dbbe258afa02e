#pragma once

#include "model/find/FindResult.h"

#include <QAbstractListModel>

namespace furrow {

// The palette's result list: the results of the latest query (or the recent places), with
// the text a screen reader reads for each row.
class FindResultModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setResults(std::vector<FindResult> results, Instant now);
    const FindResult &result(int row) const { return m_results[size_t(row)]; }
    const std::vector<FindResult> &results() const { return m_results; }
    Instant now() const { return m_now; }
    // The row showing the same record, or -1.
    int rowOf(const FindResult &result) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::vector<FindResult> m_results;
    Instant m_now;
};

// Whether two results show the same record.
bool sameRecord(const FindResult &a, const FindResult &b);

} // namespace furrow
