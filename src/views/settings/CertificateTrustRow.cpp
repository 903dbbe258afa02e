#include "views/settings/CertificateTrustRow.h"

#include "sync/SyncEngine.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/TextLabel.h"

namespace furrow {

CertificateTrustRow::CertificateTrustRow(SyncEngine &engine, QWidget *parent)
    : QWidget(parent)
    , m_engine(engine)
    , m_fingerprint(new TextLabel({}, Theme::small(), Theme::ink, this))
    , m_trust(
          new PillButton(QStringLiteral("Trust this certificate"), PillButton::Kind::Normal, this))
{
    setObjectName(QStringLiteral("syncCertificate"));
    auto *explanation = new TextLabel(
        QStringLiteral("No authority this computer knows signed the server's certificate. If "
                       "its SHA-256 fingerprint is the one the server printed when it started, "
                       "trust it:"),
        Theme::small(), Theme::muted, this);
    explanation->setWordWrap(true);
    m_fingerprint->setObjectName(QStringLiteral("syncCertificateFingerprint"));
    m_fingerprint->setWordWrap(true);
    m_fingerprint->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_trust->setObjectName(QStringLiteral("syncTrustCertificate"));
    m_trust->setCompact(true);

    auto *column = Stacks::column(this, 6);
    column->addWidget(explanation);
    column->addWidget(m_fingerprint);
    column->addWidget(m_trust, 0, Qt::AlignLeft);

    connect(m_trust, &QAbstractButton::clicked, this, &CertificateTrustRow::trust);
    connect(&m_engine, &SyncEngine::statusChanged, this, &CertificateTrustRow::follow);
    follow(m_engine.status());
}

void CertificateTrustRow::follow(const SyncStatus &status)
{
    // A cycle in flight keeps the row as the last one left it.
    if (status.kind == SyncStatus::Kind::Running)
        return;
    const QString fingerprint = m_engine.untrustedCertificate();
    m_fingerprint->setText(fingerprint);
    setVisible(status.kind == SyncStatus::Kind::Failed && !fingerprint.isEmpty());
}

void CertificateTrustRow::trust()
{
    if (m_engine.trustCertificate(m_fingerprint->text()))
        m_engine.syncNow();
}

} // namespace furrow
