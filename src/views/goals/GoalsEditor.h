#pragma once

#include "model/VectorStore.h"

#include <QWidget>

namespace furrow {

class LimitedLineEdit;
class PillButton;

// The form that edits the three goals at once: for every slot a short name and a one-line
// statement, then Cancel and Done. It only holds drafts; whoever shows it stores them on Done.
// Return means Done and Escape means Cancel.
class GoalsEditor : public QWidget
{
    Q_OBJECT

public:
    using Goals = std::array<Vector, VectorStore::kCount>;

    explicit GoalsEditor(const Goals &goals, QWidget *parent = nullptr);

    // The fields' texts, one draft per slot.
    Goals drafts() const;

    LimitedLineEdit *nameField(int slot) const { return m_names.at(std::size_t(slot)); }
    LimitedLineEdit *statementField(int slot) const { return m_statements.at(std::size_t(slot)); }

Q_SIGNALS:
    void cancelled();
    void done();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildSlot(const Vector &goal);
    QWidget *buildButtons();

    std::array<LimitedLineEdit *, VectorStore::kCount> m_names{};
    std::array<LimitedLineEdit *, VectorStore::kCount> m_statements{};
    PillButton *m_cancel = nullptr;
    PillButton *m_done = nullptr;
};

} // namespace furrow
