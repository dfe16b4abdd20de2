#pragma once

#include "account/AccountStore.h"
#include "account/ServerAPI.h"
#include "drafting/DraftError.h"
#include "platform/fake/FakeHttpTransport.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/ManualScheduler.h"

#include <QCoroTask>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <exception>
#include <memory>
#include <optional>
#include <variant>

namespace lumeno::testing {

// Reports what a finished task threw as a test failure.
inline void reportThrown(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& exception) {
        ADD_FAILURE() << "the task threw " << exception.what();
    } catch (...) {
        ADD_FAILURE() << "the task threw";
    }
}

inline QCoro::Task<> collect(QCoro::Task<>& task, std::exception_ptr& failure) {
    try {
        co_await task;
    } catch (...) {
        failure = std::current_exception();
    }
}

template <typename T> QCoro::Task<> collect(QCoro::Task<T>& task, T& value, std::exception_ptr& failure) {
    try {
        value = co_await task;
    } catch (...) {
        failure = std::current_exception();
    }
}

// The value of a task that has already finished; a task still waiting, or one that threw, fails the test
// instead of hanging it.
template <typename T> T finished(QCoro::Task<T>& task) {
    if (!task.isReady()) {
        ADD_FAILURE() << "the task is still waiting";
        return T();
    }
    std::exception_ptr failure;
    if constexpr (std::is_void_v<T>) {
        collect(task, failure);
    } else {
        T value{};
        collect(task, value, failure);
        if (!failure)
            return value;
    }
    if (failure)
        reportThrown(failure);
    return T();
}

template <typename T> T finished(QCoro::Task<T>&& task) {
    return finished(task);
}

// A drafting call as a value: the reply, or the DraftError it threw.
using DraftOutcome = std::variant<DraftReply, DraftError>;

inline QCoro::Task<DraftOutcome> outcomeOf(QCoro::Task<DraftReply> call) {
    try {
        co_return co_await std::move(call);
    } catch (const DraftError& error) {
        co_return error;
    }
}

inline QByteArray jsonBytes(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

inline QJsonObject userRecord(const QString& name = QStringLiteral("Ada Park"),
                              const QString& email = QStringLiteral("ada@example.com")) {
    return {{"id", "u1"}, {"email", email}, {"name", name}};
}

inline QJsonObject teamRecord(const QString& role = QStringLiteral("owner")) {
    return {{"id", "t1"}, {"name", "Harbor Studio"}, {"role", role}};
}

inline QByteArray errorBody(const QString& code, const QString& message = {}) {
    QJsonObject error{{"code", code}};
    if (!message.isEmpty())
        error.insert("message", message);
    return jsonBytes({{"error", error}});
}

// Captures every log line while alive.
class CapturedLog {
public:
    CapturedLog() : sink_(std::make_shared<CapturingLogSink>()), previous_(Log::setSink(sink_)) {}
    ~CapturedLog() { Log::setSink(previous_); }
    const CapturingLogSink& operator*() const { return *sink_; }
    const CapturingLogSink* operator->() const { return sink_.get(); }
    // True when any line contains `text`.
    bool mentions(const QString& text) const {
        for (const QString& line : sink_->lines()) {
            if (line.contains(text))
                return true;
        }
        return false;
    }

private:
    std::shared_ptr<CapturingLogSink> sink_;
    std::shared_ptr<LogSink> previous_;
};

// A client and a store on the scriptable transport, manual time and a fresh support folder.
class FakeServerFixture : public ::testing::Test {
protected:
    static constexpr auto token = "tok-Secret123";

    ManualClock clock;
    ManualScheduler scheduler{clock};
    std::shared_ptr<FakeHttpTransport> transport = std::make_shared<FakeHttpTransport>();
    std::shared_ptr<ServerAPI> server =
        std::make_shared<ServerAPI>(QUrl("https://api.lumeno.test"), transport, scheduler);
    QTemporaryDir folder;
    CapturedLog log;

    std::unique_ptr<AccountStore> makeStore(std::shared_ptr<ServerAPI> client) {
        return std::make_unique<AccountStore>(folder.path(), std::move(client), clock,
                                              QStringLiteral("ada-laptop"));
    }
    std::unique_ptr<AccountStore> makeStore() { return makeStore(server); }

    static AccountSession session(const QString& name = QStringLiteral("Ada Park"), bool withTeam = false) {
        AccountSession value{token, {"u1", "ada@example.com", name}, std::nullopt};
        if (withTeam)
            value.team = ServerAPI::Team{"t1", "Harbor Studio", ServerAPI::Role::owner};
        return value;
    }

    // A store that starts signed in, as after an earlier run.
    std::unique_ptr<AccountStore> signedInStore(bool withTeam = false) {
        writeSessionFile(session(QStringLiteral("Ada Park"), withTeam).encoded());
        return makeStore();
    }

    void writeSessionFile(const QByteArray& bytes) {
        QFile file(folder.filePath("session.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    const HttpRequest& lastRequest() const { return transport->requests().back(); }
    QJsonObject lastBody() const { return QJsonDocument::fromJson(lastRequest().body).object(); }
};

} // namespace lumeno::testing
