#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <variant>
#include <vector>

namespace lumeno {

enum class LogCategory { app, hotkey, speech, context, draft, insert, memory };
enum class LogLevel { info, error, fault };

QString logCategoryName(LogCategory category);

// One interpolated value of a log line: text, an integer or a flag.
using LogArg = std::variant<QString, qint64, bool>;

// Where rendered lines go. The application writes to Qt logging categories; tests capture.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(LogCategory category, LogLevel level, const QString& line) = 0;
};

// Qt logging categories named "<subsystem>.<category>".
class QtLogSink final : public LogSink {
public:
    explicit QtLogSink(QString subsystem);
    void write(LogCategory category, LogLevel level, const QString& line) override;

private:
    QString subsystem_;
};

class CapturingLogSink final : public LogSink {
public:
    struct Entry {
        LogCategory category;
        LogLevel level;
        QString line;
        bool operator==(const Entry&) const = default;
    };

    void write(LogCategory category, LogLevel level, const QString& line) override;
    const std::vector<Entry>& entries() const { return entries_; }
    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
};

// A logger of one category. Formats use the system's markers: %{public}s, %{public}ld, %{public}d,
// %{bool,public}d, %{private}s (rendered "<private>"), and %% for a percent sign.
class Logger {
public:
    constexpr explicit Logger(LogCategory category) : category_(category) {}

    void info(const QString& format, std::initializer_list<LogArg> args = {}) const;
    void error(const QString& format, std::initializer_list<LogArg> args = {}) const;
    void fault(const QString& format, std::initializer_list<LogArg> args = {}) const;

    LogCategory category() const { return category_; }

private:
    void write(LogLevel level, const QString& format, std::initializer_list<LogArg> args) const;
    LogCategory category_;
};

struct Log {
    static constexpr Logger app{LogCategory::app};
    static constexpr Logger hotkey{LogCategory::hotkey};
    static constexpr Logger speech{LogCategory::speech};
    static constexpr Logger context{LogCategory::context};
    static constexpr Logger draft{LogCategory::draft};
    static constexpr Logger insert{LogCategory::insert};
    static constexpr Logger memory{LogCategory::memory};

    // Installs the sink every logger writes to and returns the previous one. Without one, lines go to a
    // QtLogSink for the subsystem "app.lumeno".
    static std::shared_ptr<LogSink> setSink(std::shared_ptr<LogSink> sink);

    // Renders a format with its arguments; exposed for tests and for sinks that need the text only.
    static QString render(const QString& format, std::initializer_list<LogArg> args);
};

} // namespace lumeno
