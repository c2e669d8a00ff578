#pragma once
// A synchronous HTTP client on libcurl for the WebDAV verbs: any method, our own headers and body,
// basic authentication, and redirects followed here (libcurl would turn a PROPFIND or REPORT into a
// GET after a 301-303; a WebDAV request must keep its verb and body).
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sync/certificate.h"

namespace talik {

struct HttpRequest
{
    std::string method = "GET";
    std::string url;
    std::vector<std::string> headers; // "Name: value"
    std::string body;
};

struct HttpResponse
{
    long status = 0;                            // 0 when no answer came (the error says why)
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
    std::string url;   // where the answer finally came from, after redirects
    std::string error; // the transport's message when status is 0
    // Set when the answer was refused for the server's certificate; `error` then tells it too.
    std::optional<CertificateProblem> certificate;
    std::string header(const std::string& lowerName) const;
};

struct HttpAuth
{
    std::string user;
    std::string password;
    // The public key the user accepted ("sha256//…", see certificate.h): then that key alone is
    // trusted, in place of the system's certificates and the host name check. Empty: the system's
    // certificates only.
    std::string pinnedKey;
};

class HttpClient
{
public:
    explicit HttpClient(HttpAuth auth);
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;
    ~HttpClient();

    HttpResponse send(const HttpRequest& request);
    // The certificate problem of the last answer refused for one; nullopt when none was.
    const std::optional<CertificateProblem>& certificateProblem() const { return m_certificate; }
    // Whether the server answered 401: it refused the user name and password.
    bool credentialsRefused() const { return m_credentialsRefused; }

private:
    HttpResponse once(const HttpRequest& request);
    HttpAuth m_auth;
    std::optional<CertificateProblem> m_certificate;
    bool m_credentialsRefused = false;
    void* m_curl; // one handle for the run: its connections are reused
};

// `ref` (an absolute URL, an absolute path or a relative path) against `base`.
std::string ResolveUrl(const std::string& base, const std::string& ref);
// The scheme, host and port of a URL ("https://host:8443").
std::string UrlOrigin(const std::string& url);

} // namespace talik
