#pragma once

#include <QString>

namespace furrow::test {

// Writes a fresh self-signed certificate for 127.0.0.1 and its private key, both PEM.
void writeSelfSignedCertificate(const QString &certPath, const QString &keyPath);

} // namespace furrow::test
