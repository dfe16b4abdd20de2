#include "memory/DueDateFormat.h"

#include "support/IcuString.h"

#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>

namespace lumeno {

namespace {

// Building the pattern generator is costly, so the formatter is kept per thread until the locale changes.
const icu::SimpleDateFormat* formatterFor(const QString& localeName) {
    thread_local QString builtFor;
    thread_local std::unique_ptr<icu::SimpleDateFormat> formatter;
    if (formatter && builtFor == localeName)
        return formatter.get();
    formatter.reset();
    builtFor = localeName;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(localeName.toUtf8().constData());
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    if (U_FAILURE(status))
        return nullptr;
    const icu::UnicodeString pattern = generator->getBestPattern(icu::UnicodeString(u"EEEdMMM"), status);
    auto built = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
    if (U_FAILURE(status))
        return nullptr;
    built->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString(u"GMT")));
    formatter = std::move(built);
    return formatter.get();
}

} // namespace

QString DueDateFormat::format(const QDateTime& due) {
    // Qt decides the local day (the same source every other local-time rule uses); ICU then only names
    // that day, so it formats the local calendar date at noon in GMT.
    const QDate localDay = due.toLocalTime().date();
    const icu::SimpleDateFormat* formatter = formatterFor(QLocale().name());
    if (!formatter)
        return localDay.toString(Qt::ISODate);
    icu::UnicodeString result;
    formatter->format(static_cast<UDate>(QDateTime(localDay, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch()), result);
    return toQString(result);
}

} // namespace lumeno
