#include "details/RecordDateFormat.h"

#include "support/IcuString.h"

#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/timezone.h>

#include <memory>

namespace lumeno {

namespace {

// Formatters are costly to build, so each style is kept per thread until the locale changes.
QString formatted(const QDateTime& date, icu::DateFormat::EStyle dateStyle, icu::DateFormat::EStyle timeStyle) {
    struct Cached {
        QString locale;
        std::unique_ptr<icu::DateFormat> formatter;
    };
    thread_local Cached cache[2];
    Cached& slot = cache[dateStyle == icu::DateFormat::kNone ? 1 : 0];
    const QString localeName = QLocale().name();
    if (!slot.formatter || slot.locale != localeName) {
        slot.locale = localeName;
        slot.formatter.reset(icu::DateFormat::createDateTimeInstance(dateStyle, timeStyle,
                                                                     icu::Locale(localeName.toUtf8().constData())));
        if (slot.formatter)
            slot.formatter->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString(u"GMT")));
    }
    // Qt decides local time (the same source every other local-time rule uses); ICU only writes it out, so
    // it formats the local wall-clock time as if it were GMT.
    const QDateTime local = date.toLocalTime();
    const QDateTime wallClock(local.date(), local.time(), Qt::UTC);
    if (!slot.formatter)
        return wallClock.toString(Qt::ISODate);
    icu::UnicodeString result;
    slot.formatter->format(static_cast<UDate>(wallClock.toMSecsSinceEpoch()), result);
    return toQString(result);
}

} // namespace

QString RecordDateFormat::dateAndTime(const QDateTime& date) {
    return formatted(date, icu::DateFormat::kMedium, icu::DateFormat::kMedium);
}

QString RecordDateFormat::shortTime(const QDateTime& date) {
    return formatted(date, icu::DateFormat::kNone, icu::DateFormat::kShort);
}

} // namespace lumeno
