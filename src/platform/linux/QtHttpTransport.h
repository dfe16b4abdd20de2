#pragma once

#include "platform/HttpTransport.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>

namespace lumeno {

// HTTP through QNetworkAccessManager on the main thread. Redirects are handed back, never followed, and
// no cookies or cached answers are kept between requests.
class QtHttpTransport final : public HttpTransport {
public:
    // `extraAuthorities` are trusted on top of the system's certificate authorities (tests use their own).
    explicit QtHttpTransport(QList<QSslCertificate> extraAuthorities = {});

    QCoro::Task<HttpResult> send(HttpRequest request, HttpAbort abort) override;

private:
    QNetworkAccessManager manager_;
    QList<QSslCertificate> extraAuthorities_;
};

} // namespace lumeno
