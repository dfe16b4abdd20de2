#include "platform/linux/QtHttpTransport.h"

#include <QCoroNetworkReply>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <memory>

namespace lumeno {

namespace {

// Qt keeps at most this much of an answer that has not been taken yet.
constexpr qint64 readChunkBytes = 256 * 1024;

QByteArray verb(HttpRequest::Method method) {
    switch (method) {
    case HttpRequest::Method::get:
        return "GET";
    case HttpRequest::Method::post:
        return "POST";
    case HttpRequest::Method::patch:
        return "PATCH";
    case HttpRequest::Method::del:
        return "DELETE";
    }
    Q_UNREACHABLE();
}

} // namespace

QtHttpTransport::QtHttpTransport(QList<QSslCertificate> extraAuthorities)
    : extraAuthorities_(std::move(extraAuthorities)) {
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    manager_.setCookieJar(nullptr);
}

QCoro::Task<HttpResult> QtHttpTransport::send(HttpRequest request, HttpAbort abort) {
    if (abort.isAborted())
        co_return HttpFailure{HttpFailure::Kind::aborted, QStringLiteral("aborted before sending")};

    QNetworkRequest networkRequest(request.url);
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    for (const auto& [name, value] : request.headers)
        networkRequest.setRawHeader(name, value);
    if (request.url.scheme() == QLatin1String("https") && !extraAuthorities_.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(extraAuthorities_);
        networkRequest.setSslConfiguration(tls);
    }

    // The reply is owned here: deleted when this coroutine ends, whatever way it ends.
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        manager_.sendCustomRequest(networkRequest, verb(request.method), request.body),
        [](QNetworkReply* r) { r->deleteLater(); });
    QPointer<QNetworkReply> guard(reply.get());
    abort.setHandler([guard] {
        if (guard)
            guard->abort();
    });
    // The answer is taken as it arrives, a little at a time, and given up once it says or shows that it is
    // larger than allowed: a runaway answer never fills memory.
    QByteArray body;
    qint64 received = 0;
    bool tooLarge = false;
    bool refusedByReceiver = false;
    bool errorCut = false; // an error answer closed once its message was read
    QNetworkReply* answer = reply.get();
    const qint64 limit = request.maxResponseBytes;
    // Qt's network thread learns the limit only once the request has started there, which is queued: a
    // limit set now would be lost, and a fast server would fill memory faster than the answer is taken.
    QMetaObject::invokeMethod(answer, [answer] { answer->setReadBufferSize(readChunkBytes); }, Qt::QueuedConnection);
    const auto succeeded = [answer] {
        return answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() / 100 == 2;
    };
    // An error answer the request bounds is cut short at that bound, never refused for its length.
    const auto isBoundError = [&] { return request.maxErrorBodyBytes && !succeeded(); };
    const auto refuseWhenTooLarge = [&] {
        if (isBoundError())
            return;
        const QVariant announced = answer->header(QNetworkRequest::ContentLengthHeader);
        if (!tooLarge && announced.isValid() && announced.toLongLong() > limit) {
            tooLarge = true;
            answer->abort();
        }
    };
    const auto take = [&] {
        // An aborted reply is closed: there is nothing more to read.
        if (!answer->isOpen())
            return;
        if (isBoundError()) {
            body += answer->read(*request.maxErrorBodyBytes - body.size());
            if (body.size() >= *request.maxErrorBodyBytes) {
                errorCut = true;
                answer->abort();
            }
            return;
        }
        const QByteArray piece = answer->readAll();
        if (piece.isEmpty())
            return;
        received += piece.size();
        if (received > limit) {
            tooLarge = true;
            answer->abort();
            return;
        }
        if (request.onBody && succeeded()) {
            if (!request.onBody(piece)) {
                refusedByReceiver = true;
                answer->abort();
                return;
            }
        } else {
            body += piece;
        }
        if (request.onProgress)
            request.onProgress(received);
    };
    const QMetaObject::Connection headers = QObject::connect(answer, &QNetworkReply::metaDataChanged, refuseWhenTooLarge);
    const QMetaObject::Connection arriving = QObject::connect(answer, &QNetworkReply::readyRead, take);
    co_await qCoro(answer).waitForFinished();
    QObject::disconnect(headers);
    QObject::disconnect(arriving);
    abort.clearHandler();
    take();
    if (tooLarge)
        co_return HttpFailure{HttpFailure::Kind::tooLarge,
                              QStringLiteral("answer larger than %1 bytes").arg(limit)};
    if (refusedByReceiver)
        co_return HttpFailure{HttpFailure::Kind::aborted, QStringLiteral("the receiver refused the answer's body")};

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (abort.isAborted())
        co_return HttpFailure{HttpFailure::Kind::aborted, QStringLiteral("aborted")};
    // Codes below 200 are the connection's own faults (refused, closed mid-answer, TLS, proxy); an answer
    // cut short is no answer, unless it was an error answer closed here once its message had come.
    if (!status.isValid() || (!errorCut && reply->error() != QNetworkReply::NoError && reply->error() < 200))
        co_return HttpFailure{HttpFailure::Kind::network, reply->errorString()};

    HttpResponse response;
    response.status = status.toInt();
    response.body = std::move(body);
    for (const auto& header : reply->rawHeaderPairs())
        response.headers.append(header);
    co_return response;
}

} // namespace lumeno
