#include "memory/ConfirmSaveFlow.h"

#include "memory/MemoryDetector.h"
#include "memory/MemoryStore.h"
#include "memory/PersonMatcher.h"
#include "screen/PackedContext.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Text.h"

#include <algorithm>

namespace lumeno {

ConfirmSaveFlow::ConfirmSaveFlow(MemoryStore& memory, const DateDetector& dates) : memory_(memory), dates_(dates) {}

QList<SaveOffer> ConfirmSaveFlow::offers(const QString& intent, const QString& draft,
                                         const std::optional<PackedContext>& context,
                                         const std::optional<Person>& person, const std::optional<QString>& thread,
                                         const std::optional<QString>& ownName,
                                         const std::optional<QString>& partner) {
    QList<SaveOffer> made;
    if (std::optional<SaveOffer> offer = commitmentOffer(intent, draft, person))
        made << *offer;
    if (std::optional<SaveOffer> offer = addresseeOffer(context, person, ownName, partner))
        made << *offer;
    if (const std::optional<QString> pinned = MemoryDetector::pin(intent))
        made << SaveOffer::pin(*pinned, person ? std::optional(person->id) : std::nullopt, thread);

    QList<SaveOffer> fresh;
    for (const SaveOffer& offer : made)
        if (!offered_.contains(offer.key()))
            fresh << offer;
    for (const SaveOffer& offer : fresh)
        offered_.insert(offer.key());
    return fresh;
}

std::optional<SaveOffer> ConfirmSaveFlow::commitmentOffer(const QString& intent, const QString& draft,
                                                          const std::optional<Person>& person) const {
    const QDateTime now = memory_.clock().now();
    std::optional<MemoryDetector::Detected> found = MemoryDetector::commitment(draft, now, dates_);
    if (!found)
        found = MemoryDetector::commitment(intent, now, dates_);
    if (!found)
        return std::nullopt;
    const QList<Commitment>& stored = memory_.data().commitments;
    const bool alreadyOpen = std::any_of(stored.begin(), stored.end(), [&found](const Commitment& c) {
        return !c.done && Text::equalIgnoringCase(c.text, found->text);
    });
    if (alreadyOpen)
        return std::nullopt;
    return SaveOffer::commitment(found->text, found->due, person ? std::optional(person->id) : std::nullopt);
}

std::optional<SaveOffer> ConfirmSaveFlow::addresseeOffer(const std::optional<PackedContext>& context,
                                                         const std::optional<Person>& person,
                                                         const std::optional<QString>& ownName,
                                                         const std::optional<QString>& partner) const {
    // The chat partner read from the window can be the user's own name: that is nobody to save.
    std::optional<QString> partnerName = partner;
    if (ownName && partner && Text::folded(*partner) == Text::folded(*ownName))
        partnerName.reset();
    QStringList ownNames;
    if (ownName && !ownName->isEmpty())
        ownNames << *ownName;

    QString name;
    std::optional<QString> email;
    std::optional<MemoryDetector::Addressed> addressed;
    if (context)
        addressed = MemoryDetector::recipient(context->text, ownNames, context->fieldOffset);
    if (addressed) {
        name = addressed->name;
        email = addressed->email;
    } else if (partnerName) {
        name = *partnerName;
    } else {
        return std::nullopt;
    }

    if (!person) {
        const QList<Person>& people = memory_.data().people;
        const bool known = std::any_of(people.begin(), people.end(),
                                       [&name](const Person& p) { return Text::equalIgnoringCase(p.name, name); });
        return known ? std::nullopt : std::optional(SaveOffer::person(name, email));
    }
    if (!email)
        return std::nullopt;
    const bool knownAddress = std::any_of(person->aliases.begin(), person->aliases.end(),
                                          [&email](const QString& alias) { return Text::equalIgnoringCase(alias, *email); });
    if (knownAddress || !PersonMatcher::match(name, {*person}))
        return std::nullopt;
    return SaveOffer::alias(*email, person->id, person->firstName());
}

std::optional<QUuid> ConfirmSaveFlow::accept(const SaveOffer& offer, const std::optional<QUuid>& linking) {
    std::optional<QUuid> created;
    if (const auto* c = std::get_if<SaveOffer::CommitmentKind>(&offer.kind)) {
        memory_.addCommitment(c->text, c->due, c->personID ? c->personID : linking);
    } else if (const auto* p = std::get_if<SaveOffer::PersonKind>(&offer.kind)) {
        created = memory_.addPerson(p->name, p->email ? QStringList{*p->email} : QStringList{}, QString()).id;
    } else if (const auto* a = std::get_if<SaveOffer::AliasKind>(&offer.kind)) {
        memory_.addAlias(a->email, a->personID);
    } else if (const auto* n = std::get_if<SaveOffer::PinKind>(&offer.kind)) {
        memory_.addPin(n->text, n->personID ? n->personID : linking, n->thread);
    }
    Log::memory.info(QStringLiteral("Saved %{public}s after confirm"), {offer.kindName()});
    return created;
}

} // namespace lumeno
