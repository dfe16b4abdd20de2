#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>
#include <variant>

namespace lumeno {

// One thing memory proposes to remember after a reply went out; nothing is stored until the user accepts it.
struct SaveOffer {
    struct CommitmentKind {
        QString text;
        std::optional<QDateTime> due;
        std::optional<QUuid> personID;
        bool operator==(const CommitmentKind&) const = default;
    };
    struct PersonKind {
        QString name;
        std::optional<QString> email;
        bool operator==(const PersonKind&) const = default;
    };
    struct AliasKind {
        QString email;
        QUuid personID;
        QString personName; // the person's first name, for display
        bool operator==(const AliasKind&) const = default;
    };
    struct PinKind {
        QString text;
        std::optional<QUuid> personID;
        std::optional<QString> thread;
        bool operator==(const PinKind&) const = default;
    };
    using Kind = std::variant<CommitmentKind, PersonKind, AliasKind, PinKind>;

    QUuid id;
    Kind kind;

    // Each offer gets a fresh id.
    static SaveOffer commitment(const QString& text, const std::optional<QDateTime>& due,
                                const std::optional<QUuid>& personID);
    static SaveOffer person(const QString& name, const std::optional<QString>& email);
    static SaveOffer alias(const QString& email, const QUuid& personID, const QString& personName);
    static SaveOffer pin(const QString& text, const std::optional<QUuid>& personID,
                         const std::optional<QString>& thread);

    // The chip's label, its symbol name, and its identity for not offering the same thing twice in a run.
    QString title() const;
    QString symbol() const;
    QString key() const;
    // "commitment", "person", "alias" or "pin".
    QString kindName() const;

    bool operator==(const SaveOffer&) const = default;
};

} // namespace lumeno
