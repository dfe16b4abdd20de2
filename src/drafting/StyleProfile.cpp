#include "drafting/StyleProfile.h"

#include "support/Json.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QJsonArray>

namespace lumeno {
namespace {

// The name capitalised is also what the user sees ("auto" -> "Auto").
template <typename Enum>
QString displayOf(Enum value) {
    return Text::capitalizedFirst(rawValue(value));
}

// Reads an optional knob: absent keeps `fallback`, an unknown value is a fault.
template <typename Enum>
Enum readKnob(JsonReader& reader, const QString& key, Enum fallback) {
    const std::optional<QString> raw = reader.optionalString(key);
    if (!raw)
        return fallback;
    if (const std::optional<Enum> value = fromRawValue<Enum>(*raw))
        return *value;
    reader.fail(QStringLiteral("%1 has the unknown value \"%2\"").arg(key, *raw));
    return fallback;
}

} // namespace

QString StyleProfile::resolvedName(const QString& accountName, const QString& systemName) const {
    for (const QString& candidate : {name, accountName, systemName}) {
        const QString trimmed = Text::trimmed(candidate);
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

QString StyleProfile::resolvedSignName(const QString& accountName, const QString& systemName) const {
    const QString sign = Text::trimmed(signAsName);
    return sign.isEmpty() ? resolvedName(accountName, systemName) : sign;
}

QStringList StyleProfile::pastedSamples() const {
    static const Regex separator = Regex::fixed(QStringLiteral("(?m)^[ \\t]*-{3,}[ \\t]*$"));
    QStringList result;
    const QString marked = separator.replaceAll(samples, QStringLiteral("\u001e"));
    for (const QString& part : marked.split(QChar(0x1e))) {
        const QString sample = Text::trimmed(part);
        if (!sample.isEmpty())
            result.append(sample);
    }
    return result;
}

QString StyleProfile::knobsSummary() const {
    return QStringLiteral("Length %1 · Tone %2 · Formality %3")
        .arg(displayName(length), displayName(tone), displayName(formality));
}

QJsonObject StyleProfile::toJson() const {
    return QJsonObject{
        {QStringLiteral("samples"), samples},
        {QStringLiteral("length"), rawValue(length)},
        {QStringLiteral("tone"), rawValue(tone)},
        {QStringLiteral("formality"), rawValue(formality)},
        {QStringLiteral("learnFromEdits"), learnFromEdits},
        {QStringLiteral("learnedExamples"), QJsonArray::fromStringList(learnedExamples)},
        {QStringLiteral("name"), name},
        {QStringLiteral("signAsName"), signAsName},
        {QStringLiteral("emailSignOff"), emailSignOff},
    };
}

std::optional<StyleProfile> StyleProfile::fromJson(const QJsonObject& object, QString* error) {
    JsonReader reader(object, QStringLiteral("style"));
    StyleProfile profile;
    profile.samples = reader.optionalString(QStringLiteral("samples")).value_or(profile.samples);
    profile.length = readKnob(reader, QStringLiteral("length"), profile.length);
    profile.tone = readKnob(reader, QStringLiteral("tone"), profile.tone);
    profile.formality = readKnob(reader, QStringLiteral("formality"), profile.formality);
    profile.learnFromEdits = reader.optionalBoolean(QStringLiteral("learnFromEdits")).value_or(profile.learnFromEdits);
    if (reader.has(QStringLiteral("learnedExamples")))
        profile.learnedExamples = reader.strings(QStringLiteral("learnedExamples"));
    profile.name = reader.optionalString(QStringLiteral("name")).value_or(profile.name);
    profile.signAsName = reader.optionalString(QStringLiteral("signAsName")).value_or(profile.signAsName);
    profile.emailSignOff = reader.optionalString(QStringLiteral("emailSignOff")).value_or(profile.emailSignOff);
    if (!reader.ok()) {
        if (error)
            *error = reader.error();
        return std::nullopt;
    }
    return profile;
}

QString StyleProfile::displayName(Length length) { return displayOf(length); }
QString StyleProfile::displayName(Tone tone) { return displayOf(tone); }
QString StyleProfile::displayName(Formality formality) { return displayOf(formality); }

} // namespace lumeno
