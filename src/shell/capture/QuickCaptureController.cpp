#include "shell/capture/QuickCaptureController.h"

#include "shell/capture/PanelActivation.h"
#include "shell/capture/QuickCapturePanel.h"
#include "shell/capture/QuickCaptureView.h"

#include <QTimer>

namespace furrow {

QuickCaptureController::QuickCaptureController(ModelContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{}

QuickCaptureController::~QuickCaptureController() = default;

void QuickCaptureController::show(const QByteArray &activationToken)
{
    if (!m_panel)
        m_panel = std::make_unique<QuickCapturePanel>();
    auto *view = new QuickCaptureView(m_context);
    connect(view, &QuickCaptureView::dismissed, this, &QuickCaptureController::hide);
    m_panel->setContent(view);
    m_panel->show(activationToken);
    // The window takes the keyboard once the desktop has mapped and activated it.
    QTimer::singleShot(0, view, &QuickCaptureView::focusField);
}

void QuickCaptureController::hide()
{
    if (m_panel)
        m_panel->hide();
}

void QuickCaptureController::toggle(const QByteArray &activationToken)
{
    if (isShown())
        hide();
    else
        show(activationToken);
}

bool QuickCaptureController::isShown() const
{
    return m_panel && m_panel->isVisible() && PanelActivation::isOnCurrentWorkspace(*m_panel);
}

} // namespace furrow
