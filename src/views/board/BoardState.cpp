#include "views/board/BoardState.h"

namespace furrow {

BoardState::BoardState(QObject *parent)
    : QObject(parent)
{}

void BoardState::setSelectedId(const QUuid &id)
{
    if (id == m_selectedId)
        return;
    Q_EMIT selectedChanged(std::exchange(m_selectedId, id), id);
}

void BoardState::setHoveredId(const QUuid &id)
{
    if (id == m_hoveredId)
        return;
    Q_EMIT hoveredChanged(std::exchange(m_hoveredId, id), id);
    setLitId(id.isNull() ? m_keyFocusId : id);
}

void BoardState::clearHoveredIf(const QUuid &id)
{
    if (m_hoveredId == id)
        setHoveredId({});
}

void BoardState::setKeyFocusId(const QUuid &id)
{
    if (id == m_keyFocusId)
        return;
    m_keyFocusId = id;
    setLitId(id.isNull() ? m_hoveredId : id);
}

void BoardState::clearKeyFocusIf(const QUuid &id)
{
    if (m_keyFocusId == id)
        setKeyFocusId({});
}

void BoardState::setLitId(const QUuid &id)
{
    if (id == m_litId)
        return;
    Q_EMIT litChanged(std::exchange(m_litId, id), id);
}

void BoardState::setComposingSection(const QUuid &sectionId)
{
    if (sectionId == m_composingSection)
        return;
    Q_EMIT composingChanged(std::exchange(m_composingSection, sectionId), sectionId);
}

void BoardState::setRenamingSection(const QUuid &sectionId)
{
    if (sectionId == m_renamingSection)
        return;
    Q_EMIT renamingChanged(std::exchange(m_renamingSection, sectionId), sectionId);
}

} // namespace furrow
