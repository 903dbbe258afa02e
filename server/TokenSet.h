#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace furrow {

// The bearer tokens the server accepts. Only their SHA-256 digests are kept, and a presented
// token is compared with every one of them in constant time.
class TokenSet
{
public:
    using Digest = std::array<unsigned char, 32>;

    // One token per line; surrounding white space, blank lines and lines starting with '#' are
    // skipped.
    static TokenSet fromText(std::string_view text);
    // Throws ServerError when the file cannot be read or holds no token.
    static TokenSet fromFile(const std::string &path);

    std::size_t size() const { return m_digests.size(); }
    // The token of an "Authorization: Bearer <token>" header value, surrounding white space
    // ignored; an empty view when the value is of another form.
    static std::string_view bearerToken(std::string_view authorization);
    bool accepts(std::string_view token) const;

private:
    std::vector<Digest> m_digests;
};

} // namespace furrow
