#pragma once

#include <QDateTime>
#include <QMutex>

namespace lumeno {

// The only source of "now" for logic: the application uses SystemClock, tests a ManualClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0; // always UTC
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
};

// Fakes that stand for slow applications move it from worker threads while the test moves it too: each
// change is one step under the lock, so neither loses the other's.
class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC))
        : current_(start.toUTC()) {}

    QDateTime now() const override {
        const QMutexLocker lock(&mutex_);
        return current_;
    }
    void set(const QDateTime& time) {
        const QMutexLocker lock(&mutex_);
        current_ = time.toUTC();
    }
    void advance(double seconds) {
        const QMutexLocker lock(&mutex_);
        current_ = current_.addMSecs(qRound64(seconds * 1000.0));
    }

private:
    mutable QMutex mutex_;
    QDateTime current_;
};

} // namespace lumeno
