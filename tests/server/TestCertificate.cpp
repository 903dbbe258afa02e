#include "TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace furrow::test {

namespace {

template<class T, void (*Free)(T *)>
using Owned = std::unique_ptr<T, decltype([](T *p) { Free(p); })>;

void check(bool ok, const char *what)
{
    if (!ok)
        throw std::runtime_error(std::string("certificate: ") + what);
}

void writePem(const QString &path, const std::function<int(BIO *)> &write)
{
    Owned<BIO, BIO_free_all> file(BIO_new_file(path.toUtf8().constData(), "w"));
    check(file && write(file.get()) == 1, "write");
}

} // namespace

void writeSelfSignedCertificate(const QString &certPath, const QString &keyPath)
{
    Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
    Owned<X509, X509_free> cert(X509_new());
    check(key && cert, "allocate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME *name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert.get(), cert.get(), nullptr, nullptr, 0);
    Owned<X509_EXTENSION, X509_EXTENSION_free> altName(
        X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1"));
    check(altName && X509_add_ext(cert.get(), altName.get(), -1) == 1, "extension");
    check(X509_sign(cert.get(), key.get(), EVP_sha256()) > 0, "sign");
    writePem(certPath, [&](BIO *bio) { return PEM_write_bio_X509(bio, cert.get()); });
    writePem(keyPath, [&](BIO *bio) {
        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
}

} // namespace furrow::test
