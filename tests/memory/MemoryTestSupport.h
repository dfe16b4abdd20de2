#pragma once

#include "memory/MemoryStore.h"
#include "support/Clock.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

namespace lumeno {

inline QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

inline QUuid uuid(const char* text) {
    return QUuid::fromString(QLatin1String(text));
}

// Runs a block with the TZ environment variable set, restoring it afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) : previous_(qgetenv("TZ")), hadPrevious_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadPrevious_)
            qputenv("TZ", previous_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray previous_;
    bool hadPrevious_;
};

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) { QLocale::setDefault(QLocale(QLatin1String(name))); }
    ~ScopedLocale() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

// A store on memory.json in a fresh folder, a manual clock and captured log lines.
class MemoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previousSink = Log::setSink(log);
    }
    void TearDown() override { Log::setSink(previousSink); }

    QString path() const { return folder.filePath(QStringLiteral("memory.json")); }

    std::unique_ptr<MemoryStore> openStore() { return std::make_unique<MemoryStore>(path(), clock); }

    QByteArray fileBytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeFile(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QStringList errors() const {
        QStringList lines;
        for (const auto& entry : log->entries())
            if (entry.level == LogLevel::error)
                lines << entry.line;
        return lines;
    }

    QTemporaryDir folder;
    ManualClock clock{utc(2026, 3, 4, 10, 0)};
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
};

} // namespace lumeno
