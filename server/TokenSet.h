#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace furrow {

// The bearer tokens the server accepts. Only their SHA-256 digests are kept, and a presented
// token is compared with every one of them in constant time. A token that looks weaker than 128
// bits is refused when the set is read, so that guessing stays hopeless.
class TokenSet
{
public:
    using Digest = std::array<unsigned char, 32>;

    // At least this many characters: 22 base64 characters carry 132 bits.
    static constexpr std::size_t kMinLength = 22;
    static constexpr double kMinBits = 128;

    // One token per line; surrounding white space, blank lines and lines starting with '#' are
    // skipped. Throws ServerError naming `origin` and the line of the first weak token.
    static TokenSet fromText(std::string_view text, const std::string &origin = "токены");
    // Throws ServerError when the file cannot be read, holds no token or a weak one.
    static TokenSet fromFile(const std::string &path);
    // Whether a token looks strong enough: at least kMinLength characters, not all of one short
    // alphabet (digits, lower-case or upper-case letters), and at least kMinBits when each
    // character counts as a draw from the classes of characters the token uses.
    static bool isStrong(std::string_view token);

    std::size_t size() const { return m_digests.size(); }
    // The token of an "Authorization: Bearer <token>" header value, surrounding white space
    // ignored; an empty view when the value is of another form.
    static std::string_view bearerToken(std::string_view authorization);
    bool accepts(std::string_view token) const;

private:
    std::vector<Digest> m_digests;
};

} // namespace furrow
