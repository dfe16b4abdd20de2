#pragma once

#include <QDateTime>

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

class ManualClock final : public Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC))
        : current_(start.toUTC()) {}

    QDateTime now() const override { return current_; }
    void set(const QDateTime& time) { current_ = time.toUTC(); }
    void advance(double seconds) { current_ = current_.addMSecs(qRound64(seconds * 1000.0)); }

private:
    QDateTime current_;
};

} // namespace lumeno
