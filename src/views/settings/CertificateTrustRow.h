#pragma once

#include <QWidget>

namespace furrow {

class PillButton;
class SyncEngine;
class TextLabel;
struct SyncStatus;

// Shown under the sync status while the server presents a certificate that this computer does
// not trust: its SHA-256 fingerprint, to compare with the one the server printed when it
// started, and a button that trusts exactly that certificate and syncs again.
class CertificateTrustRow : public QWidget
{
    Q_OBJECT

public:
    explicit CertificateTrustRow(SyncEngine &engine, QWidget *parent = nullptr);

private:
    void follow(const SyncStatus &status);
    void trust();

    SyncEngine &m_engine;
    TextLabel *m_fingerprint;
    PillButton *m_trust;
};

} // namespace furrow
