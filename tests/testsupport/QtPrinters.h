#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

// GoogleTest prints Qt text as text (quoted, with line breaks escaped) instead of as raw UTF-16 bytes.
// Include this before comparing QString values in a test.

inline void PrintTo(const QString& text, std::ostream* out) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    *out << '"' << escaped.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            *out << ", ";
        PrintTo(list[i], out);
    }
    *out << ']';
}
