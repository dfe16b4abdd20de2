#pragma once

#include "foundation/Surface.h"
#include "screen/EditRequest.h"
#include "support/RawValue.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace lumeno {

class Clock;

// The record of one dictation: what was read around the target field, what went to the model, what came
// back and what finally became of the draft. The reply loop fills it step by step; DraftDetailsStore keeps
// the latest ones and DraftDetailsLine gives its one-line JSON form.
struct DraftDetails {
    Q_GADGET
public:
    // Both stored by name (rawValue).
    enum class Kind { reply, edit };
    Q_ENUM(Kind)
    // Declared here rather than in Conversation, as Qt names only the enumerations of the outer struct.
    enum class ConversationStatus { found, tooLittle, off, skipped };
    Q_ENUM(ConversationStatus)

    // The target field, from the focused-element snapshot.
    struct Field {
        QString app;
        std::optional<QString> bundleID;
        Surface surface = Surface::other;
        std::optional<QString> role;
        QString editable; // "editable", "read-only" or "editability unknown"
        std::optional<QString> windowTitle;
        std::optional<QString> webHost;
        std::optional<qint64> focusMilliseconds;
        bool operator==(const Field&) const = default;
    };

    // What was read around the field.
    struct Conversation {
        using Status = ConversationStatus;

        Status status = Status::found;
        QString note; // shown instead of the figures for every status but found
        std::optional<QString> source;
        qint64 characters = 0;
        qint64 messages = 0;
        bool truncated = false;
        qint64 redactions = 0;
        std::optional<qint64> readMilliseconds;
        std::optional<qint64> elements;
        std::optional<qint64> levels;
        std::optional<QString> text;
        bool sent = false;

        // One line on what was read: the note, or "Found: " and the figures.
        QString summary() const;
        bool operator==(const Conversation&) const = default;
    };

    struct Recipient {
        std::optional<QString> name;
        QString how;
        std::optional<QString> card;
        bool operator==(const Recipient&) const = default;
    };

    struct Style {
        QString knobs;
        QStringList samples;
        qint64 learnedCount = 0;
        qint64 pastedCount = 0;
        bool operator==(const Style&) const = default;
    };

    struct Edit {
        EditRequest::Scope scope = EditRequest::Scope::selection;
        QString instruction;
        QString target;
        bool operator==(const Edit&) const = default;
    };

    struct Result {
        QString model;
        double seconds = 0;
        QString modelText;
        QString finalText;
        QString systemPrompt;
        QString userPrompt;

        // The drafting time with one decimal and a point in every locale: "2.3".
        QString secondsText() const;
        bool operator==(const Result&) const = default;
    };

    QUuid id;
    QDateTime date; // kept to the millisecond in memory; the file keeps whole seconds
    Kind kind = Kind::reply;
    std::optional<Field> field;
    std::optional<Conversation> conversation;
    std::optional<Recipient> recipient;
    std::optional<QString> userName;
    std::optional<QString> signName;
    std::optional<Style> style;
    std::optional<QString> speech;
    std::optional<QString> dictation;
    std::optional<Edit> edit;
    std::optional<Result> result;
    std::optional<QString> outcome;
    std::optional<QString> lineBreaks;

    // A new record: a fresh random id, the clock's time and every part absent.
    static DraftDetails started(Kind kind, const Clock& clock);

    // The whole record as plain text, for "Copy as Text".
    QString report() const;

    // The kind of message as the user reads it: "Email", "Chat", "LinkedIn" or "Other app (...)".
    static QString surfaceLabel(Surface surface);

    bool operator==(const DraftDetails&) const = default;
};

} // namespace lumeno
