#include "WindowPresenting.h"

#include <QWidget>

namespace furrow {

void presentWindow(QWidget &window)
{
    if (window.isMinimized())
        window.showNormal();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

} // namespace furrow
