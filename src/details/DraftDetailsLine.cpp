#include "details/DraftDetailsLine.h"

#include "support/Json.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

namespace lumeno {

namespace {

template <typename T>
void putOptional(QJsonObject& object, const QString& key, const std::optional<T>& value) {
    if (value)
        object.insert(key, *value);
}

QJsonObject fieldObject(const DraftDetails::Field& field) {
    QJsonObject object{{"app", field.app}, {"surface", rawValue(field.surface)}, {"editable", field.editable}};
    putOptional(object, "bundleID", field.bundleID);
    putOptional(object, "role", field.role);
    putOptional(object, "windowTitle", field.windowTitle);
    putOptional(object, "webHost", field.webHost);
    putOptional(object, "focusMilliseconds", field.focusMilliseconds);
    return object;
}

QJsonObject conversationObject(const DraftDetails::Conversation& conversation) {
    QJsonObject object{{"status", rawValue(conversation.status)},
                       {"note", conversation.note},
                       {"characters", conversation.characters},
                       {"messages", conversation.messages},
                       {"truncated", conversation.truncated},
                       {"redactions", conversation.redactions},
                       {"sent", conversation.sent}};
    putOptional(object, "source", conversation.source);
    putOptional(object, "readMilliseconds", conversation.readMilliseconds);
    putOptional(object, "elements", conversation.elements);
    putOptional(object, "levels", conversation.levels);
    putOptional(object, "text", conversation.text);
    return object;
}

QJsonObject recipientObject(const DraftDetails::Recipient& recipient) {
    QJsonObject object{{"how", recipient.how}};
    putOptional(object, "name", recipient.name);
    putOptional(object, "card", recipient.card);
    return object;
}

QJsonObject styleObject(const DraftDetails::Style& style) {
    return {{"knobs", style.knobs},
            {"samples", QJsonArray::fromStringList(style.samples)},
            {"learnedCount", style.learnedCount},
            {"pastedCount", style.pastedCount}};
}

QJsonObject editObject(const DraftDetails::Edit& edit) {
    return {{"scope", rawValue(edit.scope)}, {"instruction", edit.instruction}, {"target", edit.target}};
}

QJsonObject resultObject(const DraftDetails::Result& result) {
    return {{"model", result.model},           {"seconds", result.seconds},
            {"modelText", result.modelText},   {"finalText", result.finalText},
            {"systemPrompt", result.systemPrompt}, {"userPrompt", result.userPrompt}};
}

// Reads an enumeration by its stored name; an unknown one is a fault of the whole record.
template <typename T>
T enumeration(JsonReader& reader, const QString& key) {
    const QString raw = reader.string(key);
    if (!reader.ok())
        return T{};
    const std::optional<T> value = fromRawValue<T>(raw);
    if (!value)
        reader.fail(QStringLiteral("%1 has the unknown value \"%2\"").arg(key, raw));
    return value.value_or(T{});
}

// Reads an optional nested object with `read`; its faults become the record's.
template <typename T>
std::optional<T> part(JsonReader& reader, const QString& key, T (*read)(JsonReader&)) {
    const std::optional<QJsonObject> object = reader.optionalObject(key);
    if (!object)
        return std::nullopt;
    JsonReader nested(*object, key);
    T value = read(nested);
    if (!nested.ok()) {
        reader.fail(nested.error());
        return std::nullopt;
    }
    return value;
}

DraftDetails::Field readField(JsonReader& reader) {
    DraftDetails::Field field;
    field.app = reader.string("app");
    field.bundleID = reader.optionalString("bundleID");
    field.surface = enumeration<Surface>(reader, "surface");
    field.role = reader.optionalString("role");
    field.editable = reader.string("editable");
    field.windowTitle = reader.optionalString("windowTitle");
    field.webHost = reader.optionalString("webHost");
    field.focusMilliseconds = reader.optionalInteger("focusMilliseconds");
    return field;
}

DraftDetails::Conversation readConversation(JsonReader& reader) {
    DraftDetails::Conversation conversation;
    conversation.status = enumeration<DraftDetails::Conversation::Status>(reader, "status");
    conversation.note = reader.string("note");
    conversation.source = reader.optionalString("source");
    conversation.characters = reader.integer("characters");
    conversation.messages = reader.integer("messages");
    conversation.truncated = reader.boolean("truncated");
    conversation.redactions = reader.integer("redactions");
    conversation.readMilliseconds = reader.optionalInteger("readMilliseconds");
    conversation.elements = reader.optionalInteger("elements");
    conversation.levels = reader.optionalInteger("levels");
    conversation.text = reader.optionalString("text");
    conversation.sent = reader.boolean("sent");
    return conversation;
}

DraftDetails::Recipient readRecipient(JsonReader& reader) {
    return {reader.optionalString("name"), reader.string("how"), reader.optionalString("card")};
}

DraftDetails::Style readStyle(JsonReader& reader) {
    DraftDetails::Style style;
    style.knobs = reader.string("knobs");
    style.samples = reader.strings("samples");
    style.learnedCount = reader.integer("learnedCount");
    style.pastedCount = reader.integer("pastedCount");
    return style;
}

DraftDetails::Edit readEdit(JsonReader& reader) {
    DraftDetails::Edit edit;
    edit.scope = enumeration<EditRequest::Scope>(reader, "scope");
    edit.instruction = reader.string("instruction");
    edit.target = reader.string("target");
    return edit;
}

DraftDetails::Result readResult(JsonReader& reader) {
    DraftDetails::Result result;
    result.model = reader.string("model");
    result.seconds = reader.number("seconds");
    result.modelText = reader.string("modelText");
    result.finalText = reader.string("finalText");
    result.systemPrompt = reader.string("systemPrompt");
    result.userPrompt = reader.string("userPrompt");
    return result;
}

} // namespace

std::optional<QByteArray> DraftDetailsLine::encode(const DraftDetails& details) {
    // Our writer turns a non-finite number into null, which would not read back: refuse instead.
    if (details.result && !std::isfinite(details.result->seconds))
        return std::nullopt;
    QJsonObject object{{"id", Json::uuid(details.id)},
                       {"date", Json::date(details.date)},
                       {"kind", rawValue(details.kind)}};
    if (details.field)
        object.insert("field", fieldObject(*details.field));
    if (details.conversation)
        object.insert("conversation", conversationObject(*details.conversation));
    if (details.recipient)
        object.insert("recipient", recipientObject(*details.recipient));
    putOptional(object, "userName", details.userName);
    putOptional(object, "signName", details.signName);
    if (details.style)
        object.insert("style", styleObject(*details.style));
    putOptional(object, "speech", details.speech);
    putOptional(object, "dictation", details.dictation);
    if (details.edit)
        object.insert("edit", editObject(*details.edit));
    if (details.result)
        object.insert("result", resultObject(*details.result));
    putOptional(object, "outcome", details.outcome);
    putOptional(object, "lineBreaks", details.lineBreaks);
    return Json::write(object, Json::Style::compact);
}

std::optional<DraftDetails> DraftDetailsLine::decode(const QByteArray& line) {
    const std::optional<QJsonValue> json = Json::parse(line);
    if (!json || !json->isObject())
        return std::nullopt;
    JsonReader reader(json->toObject());
    DraftDetails details;
    details.id = reader.uuid("id");
    details.date = reader.date("date");
    details.kind = enumeration<DraftDetails::Kind>(reader, "kind");
    details.field = part(reader, "field", readField);
    details.conversation = part(reader, "conversation", readConversation);
    details.recipient = part(reader, "recipient", readRecipient);
    details.userName = reader.optionalString("userName");
    details.signName = reader.optionalString("signName");
    details.style = part(reader, "style", readStyle);
    details.speech = reader.optionalString("speech");
    details.dictation = reader.optionalString("dictation");
    details.edit = part(reader, "edit", readEdit);
    details.result = part(reader, "result", readResult);
    details.outcome = reader.optionalString("outcome");
    details.lineBreaks = reader.optionalString("lineBreaks");
    if (!reader.ok())
        return std::nullopt;
    return details;
}

} // namespace lumeno
