#include "shell/capture/QuickCapturePanel.h"

#include "shell/capture/PanelActivation.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace furrow {

QRect panelGeometry(const QRect &available)
{
    const QSize size = QuickCapturePanel::kSize;
    const qreal centreX = available.x() + available.width() / 2.0;
    const qreal centreY = available.y() + available.height() / 2.0;
    const qreal top = centreY - 0.12 * available.height() - size.height() / 2.0;
    return {qRound(centreX - size.width() / 2.0), qRound(top), size.width(), size.height()};
}

QuickCapturePanel::QuickCapturePanel(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("quickCapturePanel"));
    setWindowTitle(QStringLiteral("Quick Capture"));
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void QuickCapturePanel::setContent(QWidget *content)
{
    // The old content goes later, not now: this may run inside one of its signals.
    if (m_content) {
        m_content->hide();
        m_content->setParent(nullptr);
        m_content->deleteLater();
    }
    m_content = content;
    layout()->addWidget(content);
}

void QuickCapturePanel::show(const QByteArray &activationToken)
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(panelGeometry(screen->availableGeometry()));
    PanelActivation::beforeShow(*this, activationToken);
    QWidget::show();
    raise();
    activateWindow();
    PanelActivation::afterShow(*this, activationToken);
}

} // namespace furrow
