#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace furrow {

// The server's command line: where to listen, the database, the token file, TLS, the body
// limit and the page size, with their defaults.
struct ServerOptions
{
    std::string host = "127.0.0.1";
    int port = 8787;
    std::string databasePath; // default: $XDG_DATA_HOME/furrow-sync/sync.db
    std::string tokensPath;
    std::string certPath;
    std::string keyPath;
    std::size_t maxBody = 8 * 1024 * 1024;
    long long pageSize = 500;
    bool help = false;

    // The arguments after the program name. Throws ServerError with a message that names the
    // offending flag.
    static ServerOptions parse(const std::vector<std::string> &arguments);
    static std::string usage();
    // $XDG_DATA_HOME/furrow-sync/sync.db, or under ~/.local/share when that is not set.
    static std::string defaultDatabasePath();

    // "HOST:PORT" with the host in brackets when it is an IPv6 address.
    std::string listenText() const;
};

} // namespace furrow
