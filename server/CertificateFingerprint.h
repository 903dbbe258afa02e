#pragma once

#include <string>

namespace furrow {

// The SHA-256 fingerprint of the first certificate in a PEM file, as 64 lower-case hexadecimal
// digits of the digest of its DER form: what a planner compares before it trusts a certificate
// that no authority signed. Throws ServerError when the file holds no certificate.
std::string certificateFingerprint(const std::string &pemPath);

} // namespace furrow
