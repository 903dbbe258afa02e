#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QSettings;

namespace furrow {

// One of the three goals for the quarter: a short name and a longer statement.
struct Vector
{
    int slot = 0;
    QString name;
    QString statement;

    bool operator==(const Vector &) const = default;
};

// The three goals, kept in the user's defaults ("vectors.<slot>.name" and ".statement"), not in
// the planner's store. Loaded once; every change is written through at once.
class VectorStore : public QObject
{
    Q_OBJECT

public:
    static constexpr int kCount = 3;
    static constexpr qsizetype kNameLimit = 24;       // characters as the user sees them
    static constexpr qsizetype kStatementLimit = 120; // characters as the user sees them

    // Loads the goals from the user's defaults.
    explicit VectorStore(QObject *parent = nullptr);
    ~VectorStore() override;

    static VectorStore &shared();

    const std::array<Vector, kCount> &vectors() const { return m_vectors; }
    // The goals whose name is not blank, in slot order.
    std::vector<Vector> visible() const;

    // Replaces a goal, cutting name and statement to their limits; a slot outside 0…2 is
    // ignored.
    void set(const QString &name, const QString &statement, int slot);

Q_SIGNALS:
    void vectorsChanged();

private:
    std::unique_ptr<QSettings> m_defaults;
    std::array<Vector, kCount> m_vectors;
};

} // namespace furrow
