#include "views/board/SectionHeader.h"

#include "model/PlannerStore.h"
#include "views/board/BoardState.h"
#include "views/board/CountLabel.h"
#include "views/board/FocusChain.h"
#include "views/board/InlineField.h"
#include "views/menus/AnchoredButton.h"
#include "views/menus/MenuRow.h"
#include "views/menus/MenuSheet.h"
#include "views/theme/Theme.h"
#include "views/widgets/TextLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPointer>

namespace furrow {

SectionHeader::SectionHeader(BoardScope scope, const QUuid &sectionId, const QString &name,
                             QWidget *parent)
    : QWidget(parent)
    , m_scope(scope)
    , m_sectionId(sectionId)
    , m_label(new TextLabel({}, Theme::slab(20, QFont::Medium), Theme::ink, this))
    , m_count(new CountLabel(this))
    , m_menu(new MenuButton(
          &scope.menus, 16, kMenuWidth, [this] { return buildMenu(); }, this))
{
    m_label->setObjectName(QStringLiteral("nameLabel"));
    m_count->setObjectName(QStringLiteral("countLabel"));
    m_menu->setObjectName(QStringLiteral("menuButton"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    // A long name ends in "…" rather than widening the block past the page; a short one keeps
    // its natural width, so the count follows it.
    m_label->setElided(true);
    m_label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_label->installEventFilter(this);
    layout->addWidget(m_label);
    layout->addWidget(m_count, 0, Qt::AlignBaseline);
    layout->addStretch();
    layout->addWidget(m_menu);
    setName(name);
    connect(&scope.state, &BoardState::renamingChanged, this,
            [this](const QUuid &, const QUuid &current) { followRenaming(current); });
    followRenaming(scope.state.renamingSection());
}

void SectionHeader::setName(const QString &name)
{
    m_name = name;
    m_label->setText(name);
}

std::vector<QWidget *> SectionHeader::focusWidgets() const
{
    if (m_field)
        return {m_field, m_menu};
    return {m_menu};
}

void SectionHeader::setOpenCount(qint64 count)
{
    m_count->setCount(count);
}

bool SectionHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_label && event->type() == QEvent::MouseButtonDblClick) {
        beginRename();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SectionHeader::followRenaming(const QUuid &renaming)
{
    if (renaming == m_sectionId)
        openField();
    else
        closeField();
}

void SectionHeader::openField()
{
    if (m_field)
        return;
    m_field = new InlineField(Theme::slab(20, QFont::Medium), {}, this);
    m_field->setObjectName(QStringLiteral("nameField"));
    m_field->setMaximumWidth(kFieldMaxWidth);
    m_field->setText(m_name);
    static_cast<QHBoxLayout *>(layout())->insertWidget(0, m_field, 1);
    m_label->hide();
    FocusChain::placeBefore(m_field, m_menu);
    connect(m_field, &InlineField::submitted, this, [this] {
        commit();
        Q_EMIT nameSubmitted();
    });
    connect(m_field, &InlineField::focusLost, this, &SectionHeader::commit);
    connect(m_field, &InlineField::cancelled, this,
            [this] { m_scope.state.setRenamingSection({}); });
    // Focused on the next turn, once shown, with the whole name selected for typing over.
    QMetaObject::invokeMethod(
        m_field,
        [field = m_field] {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();
        },
        Qt::QueuedConnection);
}

void SectionHeader::closeField()
{
    InlineField *field = std::exchange(m_field, nullptr);
    if (!field)
        return;
    m_label->show();
    InlineField::retire(field, this, m_menu);
}

void SectionHeader::commit()
{
    if (!m_field)
        return;
    const QString draft = m_field->text();
    if (Section *section = PlannerStore(m_scope.model).liveSection(m_sectionId)) {
        PlannerStore(m_scope.model).rename(*section, draft);
        setName(section->name());
    }
    m_scope.state.setRenamingSection({});
}

QWidget *SectionHeader::buildMenu()
{
    // The popup may outlive this header (the section can vanish while it is open).
    const QPointer<SectionHeader> self(this);
    const auto act = [self](void (SectionHeader::*action)()) {
        return [self, action] {
            if (self)
                (self->*action)();
        };
    };
    auto *sheet = new MenuSheet(&m_scope.menus);
    sheet->addRow(QStringLiteral("Rename"), QStringLiteral("pencil"),
                  act(&SectionHeader::beginRename));
    sheet->addRow(QStringLiteral("Add a task"), QStringLiteral("plus"),
                  act(&SectionHeader::beginCompose));
    sheet->addDivider();
    sheet
        ->addRow(QStringLiteral("Delete"), QStringLiteral("trash"),
                 act(&SectionHeader::deleteSection))
        ->setDestructive(true);
    return sheet;
}

void SectionHeader::beginRename()
{
    m_scope.state.setRenamingSection(m_sectionId);
}

void SectionHeader::beginCompose()
{
    m_scope.state.setComposingSection(m_sectionId);
}

void SectionHeader::deleteSection()
{
    if (Section *section = PlannerStore(m_scope.model).liveSection(m_sectionId))
        PlannerStore(m_scope.model).deleteSection(*section);
}

} // namespace furrow
