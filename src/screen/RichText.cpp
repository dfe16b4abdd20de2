#include "screen/RichText.h"

#include <QStringList>

namespace lumeno {

namespace {

QStringList linesOf(const QString& plain) {
    QString text = plain;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

} // namespace

QString RichText::html(const QString& plain) {
    QString html = QStringLiteral("<meta charset=\"utf-8\">");
    const QStringList lines = linesOf(plain);
    if (lines.size() == 1)
        return html + lines.front().toHtmlEscaped();
    for (const QString& line : lines)
        html += line.isEmpty() ? QStringLiteral("<div><br></div>")
                               : QStringLiteral("<div>") + line.toHtmlEscaped() + QStringLiteral("</div>");
    return html;
}

QByteArray RichText::rtf(const QString& plain) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Helvetica;}}\\f0\\fs24 ";
    const QStringList lines = linesOf(plain);
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (index > 0)
            rtf += "\\par\n";
        for (const QChar c : lines.at(index)) {
            const char16_t unit = c.unicode();
            if (unit == u'\\' || unit == u'{' || unit == u'}') {
                rtf += '\\';
                rtf += char(unit);
            } else if (unit == u'\t') {
                rtf += "\\tab ";
            } else if (unit >= 0x20 && unit < 0x7f) {
                rtf += char(unit);
            } else {
                // RTF spells any other UTF-16 unit as a signed 16-bit number, with "?" for old readers.
                rtf += "\\u" + QByteArray::number(qint16(unit)) + '?';
            }
        }
    }
    rtf += '}';
    return rtf;
}

} // namespace lumeno
