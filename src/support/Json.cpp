#include "support/Json.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QLocale>
#include <QMetaType>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <utility>

namespace lumeno {

namespace {

constexpr double maxExactInteger = 9007199254740992.0; // 2^53: every integer up to here is a double
constexpr double int64Limit = 9223372036854775808.0;   // 2^63

bool holdsInteger(const QJsonValue& value) {
    return value.toVariant().metaType().id() == QMetaType::LongLong;
}

class Writer {
public:
    explicit Writer(Json::Style style) : pretty_(style == Json::Style::pretty) {}

    QByteArray take() { return std::move(out_); }

    void value(const QJsonValue& value, int depth) {
        switch (value.type()) {
        case QJsonValue::Object:
            object(value.toObject(), depth);
            break;
        case QJsonValue::Array:
            array(value.toArray(), depth);
            break;
        case QJsonValue::String:
            string(value.toString());
            break;
        case QJsonValue::Double:
            number(value);
            break;
        case QJsonValue::Bool:
            out_ += value.toBool() ? "true" : "false";
            break;
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            out_ += "null";
            break;
        }
    }

private:
    void object(const QJsonObject& object, int depth) {
        if (object.isEmpty()) {
            out_ += "{}";
            return;
        }
        // Sorted by UTF-8 bytes, which is code point order, whatever order the object keeps.
        std::vector<std::pair<QByteArray, std::pair<QString, QJsonValue>>> members;
        members.reserve(size_t(object.size()));
        for (auto it = object.begin(); it != object.end(); ++it)
            members.emplace_back(it.key().toUtf8(), std::pair(it.key(), it.value()));
        std::sort(members.begin(), members.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        out_ += '{';
        for (size_t i = 0; i < members.size(); ++i) {
            separator(i, depth + 1);
            string(members[i].second.first);
            out_ += pretty_ ? " : " : ":";
            value(members[i].second.second, depth + 1);
        }
        newline(depth);
        out_ += '}';
    }

    void array(const QJsonArray& array, int depth) {
        if (array.isEmpty()) {
            out_ += "[]";
            return;
        }
        out_ += '[';
        for (qsizetype i = 0; i < array.size(); ++i) {
            separator(size_t(i), depth + 1);
            value(array[i], depth + 1);
        }
        newline(depth);
        out_ += ']';
    }

    void separator(size_t index, int depth) {
        if (index > 0)
            out_ += ',';
        newline(depth);
    }

    void newline(int depth) {
        if (!pretty_)
            return;
        out_ += '\n';
        out_.append(qsizetype(depth) * 2, ' ');
    }

    // UTF-8, except that a surrogate without its pair (which UTF-8 cannot hold) is written as its \u escape,
    // so that it reads back as it was.
    void string(const QString& text) {
        out_ += '"';
        qsizetype run = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
                continue;
            }
            if (!c.isSurrogate())
                continue;
            escaped(QStringView(text).sliced(run, i - run).toUtf8());
            out_ += "\\u";
            out_ += QByteArray::number(c.unicode(), 16);
            run = i + 1;
        }
        escaped(QStringView(text).sliced(run).toUtf8());
        out_ += '"';
    }

    void escaped(const QByteArray& utf8) {
        static constexpr char hex[] = "0123456789abcdef";
        for (const char c : utf8) {
            switch (c) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '/':
                out_ += "\\/";
                break;
            case '\b':
                out_ += "\\b";
                break;
            case '\f':
                out_ += "\\f";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out_ += "\\u00";
                    out_ += hex[c >> 4];
                    out_ += hex[c & 0xf];
                } else {
                    out_ += c;
                }
            }
        }
    }

    void number(const QJsonValue& value) {
        if (holdsInteger(value)) {
            out_ += QByteArray::number(value.toInteger());
            return;
        }
        const double d = value.toDouble();
        if (!std::isfinite(d)) {
            out_ += "null"; // JSON has no infinity or NaN
        } else if (std::trunc(d) != d) {
            out_ += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
        } else if (std::fabs(d) <= maxExactInteger) {
            out_ += QByteArray::number(qint64(d)); // also turns -0 into 0
        } else {
            // Integral but beyond exact integers: the shortest digits that round-trip, without exponent.
            out_ += QByteArray::number(d, 'f', QLocale::FloatingPointShortest);
        }
    }

    bool pretty_;
    QByteArray out_;
};

// Reads exactly `count` ASCII digits at `at`; -1 for anything else.
int digits(const QString& text, qsizetype at, int count) {
    int result = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        result = result * 10 + (c - u'0');
    }
    return result;
}

} // namespace

QByteArray Json::write(const QJsonValue& value, Style style) {
    Writer writer(style);
    writer.value(value, 0);
    return writer.take();
}

QJsonValue Json::date(const QDateTime& time) {
    if (!time.isValid())
        return QJsonValue::Null;
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss'Z'"));
}

QJsonValue Json::uuid(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QDateTime> Json::parseDate(const QString& text) {
    // yyyy-MM-ddTHH:mm:ss followed by Z or ±hh:mm, nothing else.
    const bool utc = text.size() == 20 && text[19] == u'Z';
    const bool offset = text.size() == 25 && (text[19] == u'+' || text[19] == u'-') && text[22] == u':';
    if (!utc && !offset)
        return std::nullopt;
    if (text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' || text[16] != u':')
        return std::nullopt;
    const int fields[] = {digits(text, 0, 4),  digits(text, 5, 2),  digits(text, 8, 2),
                          digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2)};
    // Checked before QDate sees them: it would take a failed year (-1) as 1 BC.
    if (std::any_of(std::begin(fields), std::end(fields), [](int field) { return field < 0; }))
        return std::nullopt;
    const QDate date(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    int offsetSeconds = 0;
    if (offset) {
        const int hours = digits(text, 20, 2);
        const int minutes = digits(text, 23, 2);
        if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
            return std::nullopt;
        offsetSeconds = (hours * 60 + minutes) * 60 * (text[19] == u'-' ? -1 : 1);
    }
    return QDateTime(date, time, Qt::UTC).addSecs(-offsetSeconds);
}

std::optional<QUuid> Json::parseUuid(const QString& text) {
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const char16_t c = text[i].unicode();
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

std::optional<QJsonValue> Json::parse(const QByteArray& data, QString* error) {
    auto reject = [error](const QString& reason) -> std::optional<QJsonValue> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QByteArray trimmed = data.trimmed();
    if (trimmed.isEmpty())
        return reject(QStringLiteral("The document is empty"));

    // QJsonDocument only takes an object or an array at the top; any other value is read as the only
    // element of an array, so "42" and "\"text\"" are documents too.
    const bool container = trimmed.front() == '{' || trimmed.front() == '[';
    QJsonParseError result{};
    const QJsonDocument document = QJsonDocument::fromJson(container ? data : '[' + data + ']', &result);
    if (result.error != QJsonParseError::NoError) {
        const int offset = container ? result.offset : std::max(0, result.offset - 1);
        return reject(QStringLiteral("%1 at offset %2").arg(result.errorString()).arg(offset));
    }
    if (container)
        return document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array());
    if (document.array().size() != 1)
        return reject(QStringLiteral("More than one value at the top of the document"));
    return document.array().first();
}

JsonReader::JsonReader(const QJsonObject& object, QString path) : object_(object), path_(std::move(path)) {}

QString JsonReader::keyPath(const QString& key) const {
    return path_.isEmpty() ? key : path_ + u'.' + key;
}

void JsonReader::fail(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
}

bool JsonReader::has(const QString& key) const {
    const auto found = object_.constFind(key);
    return found != object_.constEnd() && !found->isNull();
}

std::optional<QJsonValue> JsonReader::value(const QString& key, bool required) {
    if (!ok())
        return std::nullopt;
    if (!has(key)) {
        if (required)
            fail(QStringLiteral("%1 is missing").arg(keyPath(key)));
        return std::nullopt;
    }
    return object_.value(key);
}

void JsonReader::typeFault(const QString& key, const char* expected) {
    fail(QStringLiteral("%1 is not %2").arg(keyPath(key), QLatin1StringView(expected)));
}

template <typename Convert>
auto JsonReader::typed(const QString& key, bool required, QJsonValue::Type type, const char* expected,
                       Convert convert) -> std::optional<decltype(convert(QJsonValue()))> {
    const auto found = value(key, required);
    if (!found)
        return std::nullopt;
    if (found->type() != type) {
        typeFault(key, expected);
        return std::nullopt;
    }
    return convert(*found);
}

std::optional<QString> JsonReader::read(const QString& key, bool required, Text) {
    return typed(key, required, QJsonValue::String, "a string",
                 [](const QJsonValue& v) { return v.toString(); });
}

std::optional<bool> JsonReader::read(const QString& key, bool required, Boolean) {
    return typed(key, required, QJsonValue::Bool, "a boolean",
                 [](const QJsonValue& v) { return v.toBool(); });
}

std::optional<double> JsonReader::read(const QString& key, bool required, Number) {
    return typed(key, required, QJsonValue::Double, "a number",
                 [](const QJsonValue& v) { return v.toDouble(); });
}

std::optional<QJsonObject> JsonReader::read(const QString& key, bool required, Object) {
    return typed(key, required, QJsonValue::Object, "an object",
                 [](const QJsonValue& v) { return v.toObject(); });
}

std::optional<qint64> JsonReader::read(const QString& key, bool required, Integer) {
    const auto found =
        typed(key, required, QJsonValue::Double, "an integer", [](const QJsonValue& v) { return v; });
    if (!found || holdsInteger(*found))
        return found ? std::optional(found->toInteger()) : std::nullopt;
    // Qt keeps whole numbers up to 2^53 as integers: a double here is fractional or large.
    const double d = found->toDouble();
    if (std::trunc(d) != d || d < -int64Limit || d >= int64Limit) {
        typeFault(key, "an integer");
        return std::nullopt;
    }
    return qint64(d);
}

template <typename T>
std::optional<T> JsonReader::parsedText(const QString& key, bool required,
                                        std::optional<T> (*parse)(const QString&), const char* expected) {
    const auto text = read(key, required, Text{});
    if (!text)
        return std::nullopt;
    auto result = parse(*text);
    if (!result)
        typeFault(key, expected);
    return result;
}

std::optional<QDateTime> JsonReader::read(const QString& key, bool required, Date) {
    return parsedText(key, required, &Json::parseDate, "a date");
}

std::optional<QUuid> JsonReader::read(const QString& key, bool required, Uuid) {
    return parsedText(key, required, &Json::parseUuid, "a UUID");
}

QString JsonReader::string(const QString& key) {
    return read(key, true, Text{}).value_or(QString());
}
std::optional<QString> JsonReader::optionalString(const QString& key) {
    return read(key, false, Text{});
}
bool JsonReader::boolean(const QString& key) {
    return read(key, true, Boolean{}).value_or(false);
}
std::optional<bool> JsonReader::optionalBoolean(const QString& key) {
    return read(key, false, Boolean{});
}
qint64 JsonReader::integer(const QString& key) {
    return read(key, true, Integer{}).value_or(0);
}
std::optional<qint64> JsonReader::optionalInteger(const QString& key) {
    return read(key, false, Integer{});
}
double JsonReader::number(const QString& key) {
    return read(key, true, Number{}).value_or(0.0);
}
std::optional<double> JsonReader::optionalNumber(const QString& key) {
    return read(key, false, Number{});
}
QDateTime JsonReader::date(const QString& key) {
    return read(key, true, Date{}).value_or(QDateTime());
}
std::optional<QDateTime> JsonReader::optionalDate(const QString& key) {
    return read(key, false, Date{});
}
QUuid JsonReader::uuid(const QString& key) {
    return read(key, true, Uuid{}).value_or(QUuid());
}
std::optional<QUuid> JsonReader::optionalUuid(const QString& key) {
    return read(key, false, Uuid{});
}
QJsonObject JsonReader::object(const QString& key) {
    return read(key, true, Object{}).value_or(QJsonObject());
}
std::optional<QJsonObject> JsonReader::optionalObject(const QString& key) {
    return read(key, false, Object{});
}

QJsonArray JsonReader::array(const QString& key) {
    return typed(key, true, QJsonValue::Array, "an array", [](const QJsonValue& v) { return v.toArray(); })
        .value_or(QJsonArray());
}

QStringList JsonReader::strings(const QString& key) {
    const QJsonArray items = array(key);
    QStringList result;
    result.reserve(items.size());
    for (qsizetype i = 0; i < items.size() && ok(); ++i) {
        if (!items[i].isString()) {
            fail(QStringLiteral("%1[%2] is not a string").arg(keyPath(key)).arg(i));
            return {};
        }
        result.append(items[i].toString());
    }
    return result;
}

} // namespace lumeno
