#include "memory/MemoryData.h"

#include "support/Json.h"

#include <QJsonArray>
#include <QJsonObject>

namespace lumeno {

namespace {

QJsonObject encodePerson(const Person& person) {
    return {
        {QStringLiteral("id"), Json::uuid(person.id)},
        {QStringLiteral("name"), person.name},
        {QStringLiteral("aliases"), QJsonArray::fromStringList(person.aliases)},
        {QStringLiteral("notes"), person.notes},
        {QStringLiteral("createdAt"), Json::date(person.createdAt)},
        {QStringLiteral("updatedAt"), Json::date(person.updatedAt)},
    };
}

QJsonObject encodeCommitment(const Commitment& commitment) {
    QJsonObject object{
        {QStringLiteral("id"), Json::uuid(commitment.id)},
        {QStringLiteral("text"), commitment.text},
        {QStringLiteral("done"), commitment.done},
        {QStringLiteral("createdAt"), Json::date(commitment.createdAt)},
    };
    if (commitment.due)
        object.insert(QStringLiteral("due"), Json::date(*commitment.due));
    if (commitment.personID)
        object.insert(QStringLiteral("personID"), Json::uuid(*commitment.personID));
    return object;
}

QJsonObject encodePin(const Pin& pin) {
    QJsonObject object{
        {QStringLiteral("id"), Json::uuid(pin.id)},
        {QStringLiteral("text"), pin.text},
        {QStringLiteral("createdAt"), Json::date(pin.createdAt)},
    };
    if (pin.personID)
        object.insert(QStringLiteral("personID"), Json::uuid(*pin.personID));
    if (pin.thread)
        object.insert(QStringLiteral("thread"), *pin.thread);
    return object;
}

template <typename T, typename Encode>
QJsonArray encodeAll(const QList<T>& records, Encode encode) {
    QJsonArray array;
    for (const T& record : records)
        array.append(encode(record));
    return array;
}

Person decodePerson(JsonReader& reader) {
    Person person;
    person.id = reader.uuid(QStringLiteral("id"));
    person.name = reader.string(QStringLiteral("name"));
    person.aliases = reader.strings(QStringLiteral("aliases"));
    person.notes = reader.string(QStringLiteral("notes"));
    person.createdAt = reader.date(QStringLiteral("createdAt"));
    person.updatedAt = reader.date(QStringLiteral("updatedAt"));
    return person;
}

Commitment decodeCommitment(JsonReader& reader) {
    Commitment commitment;
    commitment.id = reader.uuid(QStringLiteral("id"));
    commitment.text = reader.string(QStringLiteral("text"));
    commitment.due = reader.optionalDate(QStringLiteral("due"));
    commitment.personID = reader.optionalUuid(QStringLiteral("personID"));
    commitment.done = reader.boolean(QStringLiteral("done"));
    commitment.createdAt = reader.date(QStringLiteral("createdAt"));
    return commitment;
}

Pin decodePin(JsonReader& reader) {
    Pin pin;
    pin.id = reader.uuid(QStringLiteral("id"));
    pin.text = reader.string(QStringLiteral("text"));
    pin.personID = reader.optionalUuid(QStringLiteral("personID"));
    pin.thread = reader.optionalString(QStringLiteral("thread"));
    pin.createdAt = reader.date(QStringLiteral("createdAt"));
    return pin;
}

template <typename T>
QList<T> toList(std::vector<T>&& records) {
    return QList<T>(std::make_move_iterator(records.begin()), std::make_move_iterator(records.end()));
}

} // namespace

QByteArray MemoryData::toJson() const {
    const QJsonObject root{
        {QStringLiteral("version"), version},
        {QStringLiteral("people"), encodeAll(people, encodePerson)},
        {QStringLiteral("commitments"), encodeAll(commitments, encodeCommitment)},
        {QStringLiteral("pins"), encodeAll(pins, encodePin)},
    };
    return Json::write(root);
}

std::optional<MemoryData> MemoryData::fromJson(const QByteArray& bytes, QString* error) {
    const std::optional<QJsonValue> document = Json::parse(bytes, error);
    if (!document)
        return std::nullopt;
    if (!document->isObject()) {
        if (error)
            *error = QStringLiteral("memory is not a JSON object");
        return std::nullopt;
    }
    JsonReader reader(document->toObject(), QStringLiteral("memory"));
    MemoryData data;
    data.version = reader.integer(QStringLiteral("version"));
    data.people = toList(reader.objects<Person>(QStringLiteral("people"), decodePerson));
    data.commitments = toList(reader.objects<Commitment>(QStringLiteral("commitments"), decodeCommitment));
    data.pins = toList(reader.objects<Pin>(QStringLiteral("pins"), decodePin));
    if (!reader.ok()) {
        if (error)
            *error = reader.error();
        return std::nullopt;
    }
    return data;
}

} // namespace lumeno
