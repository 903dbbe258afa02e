#pragma once

#include <QString>

#include <random>
#include <vector>

namespace furrow {
class PlannerStore;
}

namespace furrow::test {

// Makes random changes through the planner store, as a person would: captures, renames, notes,
// closes and reopens, moves, due days, projects, archiving, and creating and deleting
// sections, pages and projects. Every text it writes holds a '-', which base64 never does, so
// that it can be searched for in the server's files.
class RandomEditor
{
public:
    explicit RandomEditor(std::mt19937 &random)
        : m_random(random)
    {}

    void edit(PlannerStore &store);

private:
    int below(int bound) { return int(m_random() % unsigned(bound)); }
    QString name(const char *prefix)
    {
        return QString::fromLatin1(prefix) + QString::number(++m_count);
    }
    template<class T>
    T *pick(const std::vector<T *> &list)
    {
        return list.empty() ? nullptr : list[std::size_t(below(int(list.size())))];
    }

    void editTask(PlannerStore &store);
    void editStructure(PlannerStore &store);

    std::mt19937 &m_random;
    int m_count = 0;
};

} // namespace furrow::test
