#include "ServerOptions.h"

#include "ServerError.h"

#include <cstdlib>
#include <functional>
#include <map>

namespace furrow {

namespace {

std::optional<long long> parseCount(const std::string &text, long long least, long long most)
{
    if (text.empty() || text.size() > 18
        || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const long long value = std::stoll(text);
    if (value < least || value > most)
        return std::nullopt;
    return value;
}

void parseListen(const std::string &text, ServerOptions &options)
{
    const auto colon = text.rfind(':');
    const auto port
        = colon == std::string::npos ? std::nullopt : parseCount(text.substr(colon + 1), 0, 65535);
    std::string host = colon == std::string::npos ? std::string() : text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (!port || host.empty())
        throw ServerError("--listen ждёт HOST:PORT, например 127.0.0.1:8787, а не «" + text + "»");
    options.host = host;
    options.port = int(*port);
}

} // namespace

ServerOptions ServerOptions::parse(const std::vector<std::string> &arguments)
{
    ServerOptions options;
    using Setter = std::function<void(const std::string &)>;
    const std::map<std::string, Setter> flags
        = {{"--listen",
            [&](const std::string &value) {
                parseListen(value, options);
            }},
           {"--db",
            [&](const std::string &value) {
                options.databasePath = value;
            }},
           {"--tokens",
            [&](const std::string &value) {
                options.tokensPath = value;
            }},
           {"--cert",
            [&](const std::string &value) {
                options.certPath = value;
            }},
           {"--key",
            [&](const std::string &value) {
                options.keyPath = value;
            }},
           {"--max-body",
            [&](const std::string &value) {
                const auto bytes = parseCount(value, 1024, 1LL << 32);
                if (!bytes)
                    throw ServerError("--max-body ждёт число байт от 1024 до 4294967296");
                options.maxBody = std::size_t(*bytes);
            }},
           {"--page-size", [&](const std::string &value) {
                const auto size = parseCount(value, 1, 100000);
                if (!size)
                    throw ServerError("--page-size ждёт число записей от 1 до 100000");
                options.pageSize = *size;
            }}};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        }
        const auto equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto flag = flags.find(name);
        if (flag == flags.end())
            throw ServerError("неизвестный параметр " + name + " (см. --help)");
        if (equals != std::string::npos) {
            flag->second(argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            flag->second(arguments[++i]);
        } else {
            throw ServerError("у параметра " + name + " нет значения");
        }
    }
    if (options.tokensPath.empty())
        throw ServerError("не задан файл токенов: --tokens FILE");
    if (options.certPath.empty() != options.keyPath.empty())
        throw ServerError("для HTTPS нужны оба параметра: --cert FILE и --key FILE");
    if (options.databasePath.empty())
        options.databasePath = defaultDatabasePath();
    return options;
}

std::string ServerOptions::defaultDatabasePath()
{
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    const char *data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data && data[0] == '/') {
        folder = data;
    } else {
        const char *home = std::getenv("HOME");
        if (!home || home[0] != '/')
            throw ServerError("не найти папку данных: задайте --db PATH");
        folder = std::string(home) + "/.local/share";
    }
    return folder + "/furrow-sync/sync.db";
}

std::string ServerOptions::listenText() const
{
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? '[' + host + ']' : host) + ':' + std::to_string(port);
}

std::string ServerOptions::usage()
{
    return "Usage: furrow-sync-server --tokens FILE [options]\n"
           "\n"
           "The sync server for the Furrow planner. It stores the planners' sealed records and\n"
           "hands each device the changes of the others at POST /v1/sync.\n"
           "\n"
           "  --listen HOST:PORT  address to listen on (default 127.0.0.1:8787; [::1]:8787 for "
           "IPv6)\n"
           "  --db PATH           SQLite database (default $XDG_DATA_HOME/furrow-sync/sync.db)\n"
           "  --tokens FILE       accepted bearer tokens, one per line; blank lines and lines\n"
           "                      starting with # are skipped (required)\n"
           "  --cert FILE         TLS certificate chain (PEM); with --key, serve HTTPS\n"
           "  --key FILE          TLS private key (PEM)\n"
           "  --max-body BYTES    largest request body accepted (default 8388608)\n"
           "  --page-size N       most records in one answer (default 500)\n"
           "  -h, --help          show this help and exit\n"
           "\n"
           "Without --cert and --key the server speaks plain HTTP: keep it on loopback or behind\n"
           "a reverse proxy that terminates TLS. It stops cleanly on SIGTERM and SIGINT.\n";
}

} // namespace furrow
