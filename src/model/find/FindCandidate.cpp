#include "FindCandidate.h"

#include <algorithm>
#include <tuple>

namespace furrow {

bool FindCandidate::operator<(const FindCandidate &other) const
{
    // Goals (no page, no task) after pages in the same group, by slot.
    const int kind = task ? 2 : page ? 0 : 1;
    const int otherKind = other.task ? 2 : other.page ? 0 : 1;
    return std::tuple(noteMatch, int(rank), other.updatedAt, kind, key)
           < std::tuple(other.noteMatch, int(other.rank), updatedAt, otherKind, other.key);
}

void FindCandidate::keepBest(std::vector<FindCandidate> &candidates, qsizetype limit)
{
    if (limit < 0 || limit >= qsizetype(candidates.size())) {
        std::sort(candidates.begin(), candidates.end());
        return;
    }
    std::partial_sort(candidates.begin(), candidates.begin() + limit, candidates.end());
    candidates.resize(size_t(limit));
}

} // namespace furrow
