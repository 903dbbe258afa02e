#pragma once

#include "AuthThrottle.h"
#include "HttpSession.h"
#include "RequestLog.h"
#include "SyncService.h"

namespace furrow {

class TokenSet;

// The rules of the sync endpoint over HTTP: only authorised POSTs to /v1/sync of a plain body
// within the limit are served, failed attempts are throttled by address, and each request
// leaves one line in the log.
class SyncRequestHandler : public HttpHandler
{
public:
    SyncRequestHandler(const SyncService &service, const TokenSet &tokens, RequestLog &log,
                       AuthThrottle &throttle, std::size_t maxBody);

    std::optional<HttpAnswer> judge(const Head &head, const std::string &address) override;
    HttpAnswer serve(std::string body) override;
    void finished(const std::string &address, const HttpAnswer &answer,
                  std::chrono::steady_clock::time_point started) override;

private:
    std::optional<HttpAnswer> authorise(const Head &head, const std::string &address);
    std::optional<HttpAnswer> judgeFraming(const Head &head) const;

    const SyncService &m_service;
    const TokenSet &m_tokens;
    RequestLog &m_log;
    AuthThrottle &m_throttle;
    const std::size_t m_maxBody;
};

} // namespace furrow
