#pragma once

#include "support/RawValue.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace lumeno {

// How the user writes: the knobs they set, what they pasted as samples, what was learned from messages
// they really sent, and the names the drafts sign with. Stored as style.json.
struct StyleProfile {
    Q_GADGET
public:
    // Stored by name (rawValue). `short` and `auto` are C++ keywords, hence the trailing underscores; the
    // stored names have none.
    enum class Length { short_, normal };
    Q_ENUM(Length)
    enum class Tone { auto_, warm, direct };
    Q_ENUM(Tone)
    enum class Formality { auto_, casual, formal };
    Q_ENUM(Formality)

    // Writing samples pasted by the user; a line holding only "---" separates two samples.
    QString samples;
    Length length = Length::normal;
    Tone tone = Tone::auto_;
    Formality formality = Formality::auto_;
    bool learnFromEdits = false;
    // Texts the user really sent after editing a draft, oldest first.
    QStringList learnedExamples;
    QString name;
    QString signAsName;
    QString emailSignOff = QStringLiteral("Best,");

    // The profile's name when set, else the signed-in account's name, else the system user's full name.
    QString resolvedName(const QString& accountName, const QString& systemName) const;
    // The sign-as name when set, else the resolved name.
    QString resolvedSignName(const QString& accountName, const QString& systemName) const;
    // The pasted samples, split at "---" lines, each trimmed, blanks dropped.
    QStringList pastedSamples() const;
    // "Length Normal · Tone Auto · Formality Casual": the knobs in one line, as records and reports show them.
    QString knobsSummary() const;

    // Our JSON form. Missing keys take their defaults (older files); a wrong type or an unknown knob value
    // makes the whole document unreadable.
    QJsonObject toJson() const;
    static std::optional<StyleProfile> fromJson(const QJsonObject& object, QString* error = nullptr);

    static QString displayName(Length length);
    static QString displayName(Tone tone);
    static QString displayName(Formality formality);

    bool operator==(const StyleProfile&) const = default;
};

} // namespace lumeno
