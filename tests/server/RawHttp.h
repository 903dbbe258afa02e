#pragma once

#include <string>

namespace furrow::test {

// An HTTP exchange over a plain socket, for requests that a client library would not send:
// lying lengths, bodies that never end, a chosen source address on the loopback network.
struct RawReply
{
    int status = 0; // 0 when no answer came
    std::string head;
    std::string body;

    std::string header(const std::string &name) const;
};

// Sends `bytes` and reads until the server closes the connection (at most a few seconds).
RawReply rawExchange(int port, const std::string &bytes, const char *source = nullptr);

// A POST /v1/sync with the given body; `token` empty sends no Authorization header.
std::string syncRequest(const std::string &body, const std::string &token,
                        const std::string &extraHeaders = {});

// Sends a chunked body in pieces of `chunk` bytes until the server answers or `limit` bytes
// went out; `sent` tells how many did.
RawReply chunkedUntilAnswered(int port, const std::string &token, std::size_t chunk,
                              std::size_t limit, std::size_t &sent);

} // namespace furrow::test
