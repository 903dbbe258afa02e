#include "server/TokenSet.h"
#include "server/ServerError.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

TEST(TokenSetTest, tokensThatLookWeakerThan128Bits_areRefused)
{
    const std::pair<const char *, bool> cases[] = {
        {"Zq3vR8mL2xW9pT4nK7bY1c", true},                 // 22 of base64's letters and digits
        {"mF0+c1tUuB2o9Yq7kS8wZr3Pl6Hn4Ej5Dx/Ag=", true}, // openssl rand -base64
        {"4f9c2e7a1b8d3f6e0a5c9b2d7e4f1a8c", true},       // openssl rand -hex 16
        {"Zq3vR8mL2xW9pT4nK7bY1", false},                 // one short
        {"1234567890123456789012345678901234", false},    // digits only
        {"abcdefghijklmnopqrstuvwxyzabcdefghij", false},  // one case of letters only
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ", false},
        {"4f9c2e7a1b8d3f6e0a5c9b", false}, // 22 hex digits: 88 bits
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto &[token, strong] : cases)
        EXPECT_EQ(TokenSet::isStrong(token), strong) << token;
}

TEST(TokenSetTest, aWeakTokenAnywhere_refusesTheWholeSet_namingItsLine)
{
    const std::string text = "# laptop\nZq3vR8mL2xW9pT4nK7bY1c\n\n# desk\nsecret123\n";
    try {
        TokenSet::fromText(text, "tokens");
        FAIL() << "a weak token was accepted";
    } catch (const ServerError &error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("tokens, строка 5"), std::string::npos) << message;
        EXPECT_EQ(message.find("secret123"), std::string::npos) << "the token is never repeated";
    }
}

} // namespace
} // namespace furrow
