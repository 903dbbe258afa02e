#include "views/archive/ArchiveWindow.h"

#include "views/archive/ArchiveView.h"
#include "views/theme/Theme.h"
#include "views/widgets/WindowPresenting.h"

#include <QKeySequence>
#include <QShortcut>
#include <QVBoxLayout>

namespace furrow {

ArchiveWindow::ArchiveWindow(ModelContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_view(new ArchiveView(context, this))
{
    m_view->setObjectName(QStringLiteral("archiveView"));
    setObjectName(QStringLiteral("archive"));
    setWindowTitle(QStringLiteral("Archive"));
    resize(560, 520);
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, Theme::paper);
    setPalette(colors);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
}

void ArchiveWindow::present()
{
    presentWindow(*this);
}

bool ArchiveWindow::reveal(const QUuid &taskId)
{
    return m_view->reveal(taskId);
}

} // namespace furrow
