#pragma once

#include <QObject>
#include <QUuid>

namespace furrow {

// The row-level interaction state one page view shares with its section blocks and task rows:
// the selected and hovered task, the task row that the keyboard focused, the section whose
// compose line is open and the section whose name is being edited. Null ids mean none.
class BoardState : public QObject
{
    Q_OBJECT

public:
    explicit BoardState(QObject *parent = nullptr);

    QUuid selectedId() const { return m_selectedId; }
    QUuid hoveredId() const { return m_hoveredId; }
    QUuid keyFocusId() const { return m_keyFocusId; }
    // The one row that looks hovered: the one the pointer or the keyboard reached last, or the
    // other one when that one is left.
    QUuid litId() const { return m_litId; }
    QUuid composingSection() const { return m_composingSection; }
    QUuid renamingSection() const { return m_renamingSection; }

    void setSelectedId(const QUuid &id);
    void setHoveredId(const QUuid &id);
    // Clears the hovered task only if it is still `id`: the pointer may already be on another row.
    void clearHoveredIf(const QUuid &id);
    void setKeyFocusId(const QUuid &id);
    void clearKeyFocusIf(const QUuid &id);
    void setComposingSection(const QUuid &sectionId);
    void setRenamingSection(const QUuid &sectionId);

Q_SIGNALS:
    void selectedChanged(const QUuid &previous, const QUuid &current);
    void hoveredChanged(const QUuid &previous, const QUuid &current);
    void litChanged(const QUuid &previous, const QUuid &current);
    void composingChanged(const QUuid &previous, const QUuid &current);
    void renamingChanged(const QUuid &previous, const QUuid &current);

private:
    void setLitId(const QUuid &id);

    QUuid m_selectedId;
    QUuid m_hoveredId;
    QUuid m_keyFocusId;
    QUuid m_litId;
    QUuid m_composingSection;
    QUuid m_renamingSection;
};

} // namespace furrow
