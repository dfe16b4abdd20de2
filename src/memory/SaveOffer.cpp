#include "memory/SaveOffer.h"

#include "memory/DueDateFormat.h"
#include "support/Text.h"

namespace lumeno {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// Long texts are cut so the chip stays short; names and addresses never are.
QString shown(const QString& text) {
    if (Text::graphemeCount(text) <= 38)
        return text;
    return Text::graphemePrefix(text, 36) + QStringLiteral("…");
}

QString quoted(const QString& text) {
    return QStringLiteral("“") + shown(text) + QStringLiteral("”");
}

} // namespace

SaveOffer SaveOffer::commitment(const QString& text, const std::optional<QDateTime>& due,
                                const std::optional<QUuid>& personID) {
    return {QUuid::createUuid(), CommitmentKind{text, due, personID}};
}

SaveOffer SaveOffer::person(const QString& name, const std::optional<QString>& email) {
    return {QUuid::createUuid(), PersonKind{name, email}};
}

SaveOffer SaveOffer::alias(const QString& email, const QUuid& personID, const QString& personName) {
    return {QUuid::createUuid(), AliasKind{email, personID, personName}};
}

SaveOffer SaveOffer::pin(const QString& text, const std::optional<QUuid>& personID,
                         const std::optional<QString>& thread) {
    return {QUuid::createUuid(), PinKind{text, personID, thread}};
}

QString SaveOffer::title() const {
    return std::visit(Overloaded{
                          [](const CommitmentKind& c) {
                              const QString title = QStringLiteral("Save ") + quoted(c.text);
                              return c.due ? title + QStringLiteral(" · ") + DueDateFormat::format(*c.due) : title;
                          },
                          [](const PersonKind& p) { return QStringLiteral("Save %1 as a person").arg(p.name); },
                          [](const AliasKind& a) { return QStringLiteral("Add %1 to %2").arg(a.email, a.personName); },
                          [](const PinKind& p) { return QStringLiteral("Pin ") + quoted(p.text); },
                      },
                      kind);
}

// Per kind, in the order of the alternatives of Kind.
static_assert(std::variant_size_v<SaveOffer::Kind> == 4);

QString SaveOffer::symbol() const {
    static const char* const symbols[] = {"checklist", "person.crop.circle.badge.plus", "at", "pin"};
    return QLatin1String(symbols[kind.index()]);
}

QString SaveOffer::key() const {
    return std::visit(Overloaded{
                          [](const CommitmentKind& c) { return QStringLiteral("c:") + Text::lowercased(c.text); },
                          [](const PersonKind& p) { return QStringLiteral("p:") + Text::lowercased(p.name); },
                          [](const AliasKind& a) {
                              return QStringLiteral("a:") + a.personID.toString(QUuid::WithoutBraces).toUpper()
                                   + QLatin1Char(':') + a.email;
                          },
                          [](const PinKind& p) { return QStringLiteral("n:") + Text::lowercased(p.text); },
                      },
                      kind);
}

QString SaveOffer::kindName() const {
    static const char* const names[] = {"commitment", "person", "alias", "pin"};
    return QLatin1String(names[kind.index()]);
}

} // namespace lumeno
