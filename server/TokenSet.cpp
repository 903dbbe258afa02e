#include "TokenSet.h"

#include "ServerError.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <iterator>

namespace furrow {

namespace {

TokenSet::Digest sha256(std::string_view text)
{
    TokenSet::Digest digest{};
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1)
        throw ServerError("SHA-256 недоступен");
    return digest;
}

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view space = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Clears a text that held tokens when it goes.
struct Wiped
{
    std::string &text;
    ~Wiped() { OPENSSL_cleanse(text.data(), text.size()); }
};

// The sizes of the alphabets a token's characters are taken from: digits, lower-case and
// upper-case letters, and everything else (the printable ASCII punctuation).
struct Alphabets
{
    bool digit = false, lower = false, upper = false, other = false;

    explicit Alphabets(std::string_view token)
    {
        for (const char c : token) {
            const auto byte = static_cast<unsigned char>(c);
            digit |= std::isdigit(byte) != 0;
            lower |= std::islower(byte) != 0;
            upper |= std::isupper(byte) != 0;
            other |= std::isalnum(byte) == 0;
        }
    }
    int classes() const { return int(digit) + int(lower) + int(upper) + int(other); }
    int size() const { return 10 * digit + 26 * lower + 26 * upper + 33 * other; }
};

} // namespace

bool TokenSet::isStrong(std::string_view token)
{
    if (token.size() < kMinLength)
        return false;
    const Alphabets alphabets(token);
    if (alphabets.classes() == 1 && !alphabets.other)
        return false;
    return double(token.size()) * std::log2(double(alphabets.size())) >= kMinBits;
}

TokenSet TokenSet::fromText(std::string_view text, const std::string &origin)
{
    TokenSet set;
    for (int number = 1; !text.empty(); ++number) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        // The token itself is never repeated in the message: it may be a real one, merely short.
        if (!isStrong(line))
            throw ServerError(origin + ", строка " + std::to_string(number)
                              + ": токен слабее 128 бит — нужно не меньше 22 знаков и не только "
                                "цифры или буквы одного регистра; новый даёт openssl rand "
                                "-base64 32");
        set.m_digests.push_back(sha256(line));
    }
    return set;
}

TokenSet TokenSet::fromFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file)
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file || file.bad())
        throw ServerError("не удалось прочитать файл токенов " + path);
    // The clear tokens are not kept in memory longer than needed, whatever the outcome.
    const Wiped wiped{text};
    TokenSet set = fromText(text, "файл токенов " + path);
    if (set.size() == 0)
        throw ServerError("в файле токенов " + path + " нет ни одного токена");
    return set;
}

std::string_view TokenSet::bearerToken(std::string_view authorization)
{
    const std::string_view value = trimmed(authorization);
    constexpr std::string_view scheme = "bearer";
    if (value.size() <= scheme.size()
        || (value[scheme.size()] != ' ' && value[scheme.size()] != '\t'))
        return {};
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(value[i])) != scheme[i])
            return {};
    }
    return trimmed(value.substr(scheme.size()));
}

bool TokenSet::accepts(std::string_view token) const
{
    if (token.empty())
        return false;
    const Digest presented = sha256(token);
    // Every digest is compared, so the time taken says nothing about which one matched.
    int matches = 0;
    for (const Digest &digest : m_digests)
        matches |= CRYPTO_memcmp(digest.data(), presented.data(), digest.size()) == 0;
    return matches != 0;
}

} // namespace furrow
