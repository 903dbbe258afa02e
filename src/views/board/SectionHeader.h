#pragma once

#include "views/board/BoardScope.h"

#include <QUuid>
#include <QWidget>

#include <vector>

namespace furrow {

class CountLabel;
class InlineField;
class MenuButton;
class TextLabel;

// The head of a section block: the section's name on one line (a field while it is renamed),
// the number of its open tasks and the section menu (Rename, Add a task, Delete).
class SectionHeader : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMenuWidth = 180;
    static constexpr int kFieldMaxWidth = 320;

    SectionHeader(BoardScope scope, const QUuid &sectionId, const QString &name,
                  QWidget *parent = nullptr);

    QString name() const { return m_name; }
    void setName(const QString &name);
    void setOpenCount(qint64 count);

    bool isRenaming() const { return m_field != nullptr; }
    // Renames the section to what the open name field holds and closes the field.
    void commit();
    // The header's focusable widgets in tab order.
    std::vector<QWidget *> focusWidgets() const;

Q_SIGNALS:
    // Return in the name field saved the name.
    void nameSubmitted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followRenaming(const QUuid &renaming);
    void openField();
    void closeField();
    QWidget *buildMenu();
    void beginRename();
    void beginCompose();
    void deleteSection();

    BoardScope m_scope;
    QUuid m_sectionId;
    QString m_name;
    TextLabel *m_label;
    CountLabel *m_count;
    MenuButton *m_menu;
    InlineField *m_field = nullptr;
};

} // namespace furrow
