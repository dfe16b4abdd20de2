#include "drafting/StyleProfile.h"

#include "support/Json.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QJsonArray>

#include <array>
#include <utility>

namespace lumeno {
namespace {

template <typename Enum, std::size_t N>
using Names = std::array<std::pair<Enum, const char*>, N>;

constexpr Names<StyleProfile::Length, 2> lengthRaw{{{StyleProfile::Length::short_, "short"},
                                                    {StyleProfile::Length::normal, "normal"}}};
constexpr Names<StyleProfile::Tone, 3> toneRaw{{{StyleProfile::Tone::auto_, "auto"},
                                                {StyleProfile::Tone::warm, "warm"},
                                                {StyleProfile::Tone::direct, "direct"}}};
constexpr Names<StyleProfile::Formality, 3> formalityRaw{{{StyleProfile::Formality::auto_, "auto"},
                                                          {StyleProfile::Formality::casual, "casual"},
                                                          {StyleProfile::Formality::formal, "formal"}}};

template <typename Enum, std::size_t N>
QString nameOf(const Names<Enum, N>& names, Enum value) {
    for (const auto& [candidate, name] : names)
        if (candidate == value)
            return QString::fromLatin1(name);
    Q_UNREACHABLE();
}

// The raw value capitalised is also what the user sees ("auto" -> "Auto").
template <typename Enum, std::size_t N>
QString displayOf(const Names<Enum, N>& names, Enum value) {
    return Text::capitalizedFirst(nameOf(names, value));
}

// Reads an optional knob: absent keeps `fallback`, an unknown value is a fault.
template <typename Enum, std::size_t N>
Enum readKnob(JsonReader& reader, const QString& key, const Names<Enum, N>& names, Enum fallback) {
    const std::optional<QString> raw = reader.optionalString(key);
    if (!raw)
        return fallback;
    for (const auto& [value, name] : names)
        if (*raw == QLatin1String(name))
            return value;
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
    profile.length = readKnob(reader, QStringLiteral("length"), lengthRaw, profile.length);
    profile.tone = readKnob(reader, QStringLiteral("tone"), toneRaw, profile.tone);
    profile.formality = readKnob(reader, QStringLiteral("formality"), formalityRaw, profile.formality);
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

QString StyleProfile::rawValue(Length length) { return nameOf(lengthRaw, length); }
QString StyleProfile::rawValue(Tone tone) { return nameOf(toneRaw, tone); }
QString StyleProfile::rawValue(Formality formality) { return nameOf(formalityRaw, formality); }
QString StyleProfile::displayName(Length length) { return displayOf(lengthRaw, length); }
QString StyleProfile::displayName(Tone tone) { return displayOf(toneRaw, tone); }
QString StyleProfile::displayName(Formality formality) { return displayOf(formalityRaw, formality); }

} // namespace lumeno
