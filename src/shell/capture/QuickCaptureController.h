#pragma once

#include <QObject>

#include <memory>

class QWidget;

namespace furrow {

class ModelContext;
class QuickCapturePanel;

// Shows and hides the quick capture panel. The panel window is made on the first showing and
// kept for the life of the process; every showing gives it fresh content, so nothing typed
// survives hiding. The panel stays up when the user clicks elsewhere, until Return, Esc or
// the hotkey again.
class QuickCaptureController : public QObject
{
    Q_OBJECT

public:
    explicit QuickCaptureController(ModelContext &context, QObject *parent = nullptr);
    ~QuickCaptureController() override;

    // The activation token is the desktop's, from the key press or launch that asked for the
    // panel (see QuickCapturePanel::show).
    void show(const QByteArray &activationToken = {});
    void hide();
    // Hides the panel when it shows, shows it otherwise: the hotkey's action. A panel left on
    // another workspace counts as hidden, so the hotkey brings it to the user's.
    void toggle(const QByteArray &activationToken = {});
    // The panel shows on the workspace the user is on.
    bool isShown() const;

private:
    ModelContext &m_context;
    std::unique_ptr<QuickCapturePanel> m_panel;
};

} // namespace furrow
