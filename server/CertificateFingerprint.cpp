#include "CertificateFingerprint.h"

#include "ServerError.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>
#include <memory>

namespace furrow {

std::string certificateFingerprint(const std::string &pemPath)
{
    const std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(pemPath.c_str(), "r"),
                                                      &std::fclose);
    const std::unique_ptr<X509, void (*)(X509 *)> certificate(
        file ? PEM_read_X509(file.get(), nullptr, nullptr, nullptr) : nullptr, &X509_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!certificate || X509_digest(certificate.get(), EVP_sha256(), digest, &length) != 1)
        throw ServerError("не удалось прочитать сертификат " + pemPath);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 0xf];
    }
    return text;
}

} // namespace furrow
