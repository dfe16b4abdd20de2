#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <functional>
#include <optional>
#include <vector>

namespace lumeno {

// The program's JSON byte format: keys sorted, "key" : value, two-space indent (or compact for JSON Lines),
// slashes escaped, dates ISO 8601 UTC with whole seconds, UUIDs upper case. Stored files depend on it.
class Json {
public:
    enum class Style { pretty, compact };
    // No trailing newline: a JSON Lines writer adds its own. NaN and infinities are written as null.
    static QByteArray write(const QJsonValue& value, Style style = Style::pretty);

    static QJsonValue date(const QDateTime& time); // "2026-03-02T09:00:00Z", fractions truncated
    static QJsonValue uuid(const QUuid& id);       // upper case, no braces

    // Strict date and UUID forms: none for anything else (fractional seconds are rejected, a numeric
    // offset such as +02:00 is accepted and converted to UTC).
    static std::optional<QDateTime> parseDate(const QString& text);
    static std::optional<QUuid> parseUuid(const QString& text);

    // Parses a document (any single value, not only an object or array); none with the reason in `error`
    // when it is not JSON.
    static std::optional<QJsonValue> parse(const QByteArray& data, QString* error = nullptr);
};

// Strict reading of one JSON object: exact types, required keys, null counts as absent for optionals,
// unknown keys ignored. The first fault is kept and every later read returns a default; check ok() at the
// end and reject the whole document when it is false.
class JsonReader {
public:
    explicit JsonReader(const QJsonObject& object, QString path = {});

    QString string(const QString& key);
    std::optional<QString> optionalString(const QString& key);
    bool boolean(const QString& key);
    std::optional<bool> optionalBoolean(const QString& key);
    qint64 integer(const QString& key);
    std::optional<qint64> optionalInteger(const QString& key);
    double number(const QString& key);
    std::optional<double> optionalNumber(const QString& key);
    QDateTime date(const QString& key);
    std::optional<QDateTime> optionalDate(const QString& key);
    QUuid uuid(const QString& key);
    std::optional<QUuid> optionalUuid(const QString& key);
    QStringList strings(const QString& key);
    QJsonObject object(const QString& key);
    std::optional<QJsonObject> optionalObject(const QString& key);
    QJsonArray array(const QString& key);

    // Reads an array of objects, each through `readOne`, which gets a reader for the element (faults of
    // the element reader are carried over).
    template <typename T>
    std::vector<T> objects(const QString& key, const std::function<T(JsonReader&)>& readOne);

    bool has(const QString& key) const; // present and not null
    void fail(const QString& message);  // records a fault found by the caller (first one wins)
    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

private:
    // One strict read per JSON type; the typed getters above say whether the key is required.
    struct Text {};
    struct Boolean {};
    struct Integer {};
    struct Number {};
    struct Date {};
    struct Uuid {};
    struct Object {};
    std::optional<QString> read(const QString& key, bool required, Text);
    std::optional<bool> read(const QString& key, bool required, Boolean);
    std::optional<qint64> read(const QString& key, bool required, Integer);
    std::optional<double> read(const QString& key, bool required, Number);
    std::optional<QDateTime> read(const QString& key, bool required, Date);
    std::optional<QUuid> read(const QString& key, bool required, Uuid);
    std::optional<QJsonObject> read(const QString& key, bool required, Object);

    std::optional<QJsonValue> value(const QString& key, bool required);
    // The converted value when present and of `type`; a fault (and none) when present with another type.
    template <typename Convert>
    auto typed(const QString& key, bool required, QJsonValue::Type type, const char* expected, Convert convert)
        -> std::optional<decltype(convert(QJsonValue()))>;
    // A string read through `parse` (dates, UUIDs): a fault when it does not parse.
    template <typename T>
    std::optional<T> parsedText(const QString& key, bool required, std::optional<T> (*parse)(const QString&),
                                const char* expected);
    void typeFault(const QString& key, const char* expected);
    QString keyPath(const QString& key) const; // "people[2].name", or just the key at the top

    QJsonObject object_;
    QString path_;
    QString error_;
};

template <typename T>
std::vector<T> JsonReader::objects(const QString& key, const std::function<T(JsonReader&)>& readOne) {
    std::vector<T> result;
    const QJsonArray items = array(key);
    for (qsizetype i = 0; i < items.size() && ok(); ++i) {
        if (!items[i].isObject()) {
            fail(QStringLiteral("%1[%2] is not an object").arg(keyPath(key)).arg(i));
            break;
        }
        JsonReader element(items[i].toObject(), QStringLiteral("%1[%2]").arg(keyPath(key)).arg(i));
        T item = readOne(element);
        if (!element.ok())
            fail(element.error());
        else
            result.push_back(std::move(item));
    }
    return result;
}

} // namespace lumeno
