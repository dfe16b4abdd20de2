#include "support/Log.h"

#include <QLoggingCategory>
#include <QMutex>

#include <map>

namespace lumeno {

namespace {

QMutex sinkMutex;
std::shared_ptr<LogSink>& currentSink() {
    static std::shared_ptr<LogSink> sink = std::make_shared<QtLogSink>(QStringLiteral("app.lumeno"));
    return sink;
}

QString argText(const LogArg& arg) {
    if (const auto* text = std::get_if<QString>(&arg))
        return *text;
    if (const auto* number = std::get_if<qint64>(&arg))
        return QString::number(*number);
    return std::get<bool>(arg) ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

QString logCategoryName(LogCategory category) {
    switch (category) {
    case LogCategory::app: return QStringLiteral("app");
    case LogCategory::hotkey: return QStringLiteral("hotkey");
    case LogCategory::speech: return QStringLiteral("speech");
    case LogCategory::context: return QStringLiteral("context");
    case LogCategory::draft: return QStringLiteral("draft");
    case LogCategory::insert: return QStringLiteral("insert");
    case LogCategory::memory: return QStringLiteral("memory");
    }
    return QStringLiteral("app");
}

QtLogSink::QtLogSink(QString subsystem) : subsystem_(std::move(subsystem)) {}

void QtLogSink::write(LogCategory category, LogLevel level, const QString& line) {
    // QLoggingCategory keeps the name pointer: one long-lived category per name.
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<QLoggingCategory>> categories;
    static std::map<QString, QByteArray> names;
    const QString name = subsystem_ + u'.' + logCategoryName(category);
    QMutexLocker lock(&mutex);
    auto found = categories.find(name);
    if (found == categories.end()) {
        names[name] = name.toUtf8();
        found = categories.emplace(name, std::make_unique<QLoggingCategory>(names[name].constData())).first;
    }
    const QLoggingCategory& cat = *found->second;
    switch (level) {
    case LogLevel::info: qCInfo(cat).noquote() << line; break;
    case LogLevel::error: qCWarning(cat).noquote() << line; break;
    case LogLevel::fault: qCCritical(cat).noquote() << line; break;
    }
}

void CapturingLogSink::write(LogCategory category, LogLevel level, const QString& line) {
    entries_.push_back({category, level, line});
}

QStringList CapturingLogSink::lines() const {
    QStringList result;
    for (const Entry& entry : entries_)
        result << entry.line;
    return result;
}

void Logger::info(const QString& format, std::initializer_list<LogArg> args) const {
    write(LogLevel::info, format, args);
}
void Logger::error(const QString& format, std::initializer_list<LogArg> args) const {
    write(LogLevel::error, format, args);
}
void Logger::fault(const QString& format, std::initializer_list<LogArg> args) const {
    write(LogLevel::fault, format, args);
}

void Logger::write(LogLevel level, const QString& format, std::initializer_list<LogArg> args) const {
    const QString line = Log::render(format, args);
    std::shared_ptr<LogSink> sink;
    {
        QMutexLocker lock(&sinkMutex);
        sink = currentSink();
    }
    sink->write(category_, level, line);
}

std::shared_ptr<LogSink> Log::setSink(std::shared_ptr<LogSink> sink) {
    QMutexLocker lock(&sinkMutex);
    std::swap(currentSink(), sink);
    return sink;
}

QString Log::render(const QString& format, std::initializer_list<LogArg> args) {
    QString out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        if (format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // %{modifiers}conversion, or a bare conversion such as %d or %s
        qsizetype pos = i + 1;
        QString modifiers;
        if (format[pos] == u'{') {
            const qsizetype close = format.indexOf(u'}', pos);
            if (close < 0) {
                out += c;
                continue;
            }
            modifiers = format.mid(pos + 1, close - pos - 1);
            pos = close + 1;
        }
        while (pos < format.size() && (format[pos] == u'l' || format[pos] == u'z' || format[pos] == u'q'))
            ++pos;
        if (pos >= format.size()) {
            out += format.mid(i);
            break;
        }
        i = pos; // the conversion character
        const LogArg* arg = next != args.end() ? next++ : nullptr;
        if (modifiers.split(u',').contains(QStringLiteral("private")))
            out += QStringLiteral("<private>");
        else if (arg)
            out += argText(*arg);
    }
    return out;
}

} // namespace lumeno
