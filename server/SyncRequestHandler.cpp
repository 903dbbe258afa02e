#include "SyncRequestHandler.h"

#include "TokenSet.h"

#include <boost/beast/http/field.hpp>

#include <algorithm>

namespace furrow {

namespace {

namespace http = boost::beast::http;

const std::string kPath = "/v1/sync";

std::string_view view(boost::beast::string_view text)
{
    return {text.data(), text.size()};
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::size_t> parseLength(std::string_view text)
{
    if (text.empty() || text.size() > 19
        || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::size_t(std::stoull(std::string(text)));
}

} // namespace

SyncRequestHandler::SyncRequestHandler(const SyncService &service, const TokenSet &tokens,
                                       RequestLog &log, AuthThrottle &throttle, std::size_t maxBody)
    : m_service(service)
    , m_tokens(tokens)
    , m_log(log)
    , m_throttle(throttle)
    , m_maxBody(maxBody)
{}

std::optional<HttpAnswer> SyncRequestHandler::judge(const Head &head, const std::string &address)
{
    if (view(head.target()) != kPath)
        return HttpAnswer::refusal(404, "not found");
    if (head.method() != http::verb::post) {
        HttpAnswer answer = HttpAnswer::refusal(405, "only POST");
        answer.headers.emplace_back("Allow", "POST");
        return answer;
    }
    if (auto refused = authorise(head, address))
        return refused;
    return judgeFraming(head);
}

std::optional<HttpAnswer> SyncRequestHandler::authorise(const Head &head,
                                                        const std::string &address)
{
    const auto [first, last] = head.equal_range(http::field::authorization);
    const bool valid
        = first != last && std::next(first) == last
          && m_tokens.accepts(TokenSet::bearerToken(std::string(view(first->value()))));
    // Only failed attempts pause: a device with a valid token is served even while a stranger
    // on the same address (or behind the same proxy) is paused for guessing.
    const auto pause = m_throttle.pauseLeft(address);
    if (valid) {
        if (pause.count() == 0)
            m_throttle.succeeded(address);
        return std::nullopt;
    }
    if (pause.count() > 0) {
        HttpAnswer answer = HttpAnswer::refusal(429, "too many failed attempts");
        answer.headers.emplace_back("Retry-After", std::to_string((pause.count() + 999) / 1000));
        return answer;
    }
    m_throttle.failed(address);
    HttpAnswer answer = HttpAnswer::refusal(401, "unauthorised");
    answer.headers.emplace_back("WWW-Authenticate", "Bearer");
    return answer;
}

// Refuses, unread, a body the server would not take: compressed, of an unclear length, or
// declared larger than the limit.
std::optional<HttpAnswer> SyncRequestHandler::judgeFraming(const Head &head) const
{
    const auto encoding = head.find(http::field::content_encoding);
    if (encoding != head.end() && !equalsIgnoringCase(view(encoding->value()), "identity"))
        return HttpAnswer::refusal(415, "compressed bodies are not accepted");
    const auto length = head.find(http::field::content_length);
    const auto transfer = head.find(http::field::transfer_encoding);
    if (length != head.end() && transfer != head.end())
        return HttpAnswer::refusal(400, "both Content-Length and Transfer-Encoding");
    if (transfer != head.end() && !equalsIgnoringCase(view(transfer->value()), "chunked"))
        return HttpAnswer::refusal(400, "unsupported transfer encoding");
    if (length == head.end())
        return std::nullopt;
    const auto declared = parseLength(view(length->value()));
    if (!declared)
        return HttpAnswer::refusal(400, "bad Content-Length");
    if (*declared > m_maxBody)
        return HttpAnswer::refusal(413, "body too large");
    return std::nullopt;
}

HttpAnswer SyncRequestHandler::serve(std::string body)
{
    const SyncService::Outcome outcome = m_service.handle(QByteArrayView(body));
    if (!outcome.storeError.isEmpty())
        m_log.note("ошибка базы: " + outcome.storeError.toStdString());
    HttpAnswer answer{
        outcome.status, outcome.body.toStdString(), "text/plain; charset=utf-8", {}, std::nullopt};
    if (outcome.status == 200) {
        answer.type = "application/json; charset=utf-8";
        answer.counts = RequestLog::Counts{outcome.received, outcome.accepted, outcome.sent};
    }
    return answer;
}

void SyncRequestHandler::finished(const std::string &address, const HttpAnswer &answer,
                                  std::chrono::steady_clock::time_point started)
{
    RequestLog::Entry entry;
    entry.at = std::chrono::system_clock::now();
    entry.address = address.empty() ? "-" : address;
    entry.status = answer.status;
    entry.counts = answer.counts;
    entry.duration = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    m_log.request(entry);
}

} // namespace furrow
