#include "views/archive/ArchiveWindow.h"

#include "views/archive/ArchiveView.h"
#include "views/theme/Theme.h"

#include <QVBoxLayout>

namespace furrow {

ArchiveWindow::ArchiveWindow(ModelContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_view(new ArchiveView(context, this))
{
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
}

void ArchiveWindow::present()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

} // namespace furrow
