#pragma once

// What the print server's printer and job questions share: one connection of this thread's settings,
// and reading the server's answers.

#include <QString>

#include <cups/cups.h>

#include <utility>

namespace PrintServerLink {

// Waiting for the print server: connecting, and each answer.
inline constexpr int connectTimeoutMs = 5000;
inline constexpr double answerTimeoutS = 10.0;

// One connection to the print server of this thread's settings; closed when it goes out of scope.
class Connection {
public:
    Connection() {
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              connectTimeoutMs, nullptr);
        if (m_http) httpSetTimeout(m_http, answerTimeoutS, nullptr, nullptr);
    }
    ~Connection() {
        if (m_http) httpClose(m_http);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    http_t* get() const { return m_http; }
    explicit operator bool() const { return m_http != nullptr; }
    http_t* release() { return std::exchange(m_http, nullptr); }

private:
    http_t* m_http = nullptr;
};

// Whether the last request failed because the printer does not exist (rather than the server failing).
inline bool lastErrorIsNotFound() {
    const ipp_status_t s = cupsLastError();
    return s == IPP_STATUS_OK || s == IPP_STATUS_ERROR_NOT_FOUND || s == IPP_STATUS_ERROR_GONE;
}

inline QString attributeText(ipp_attribute_t* a, int i = 0) {
    const char* v = a ? ippGetString(a, i, nullptr) : nullptr;
    return v ? QString::fromUtf8(v) : QString();
}

} // namespace PrintServerLink
