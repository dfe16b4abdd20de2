#pragma once

#include "memory/DateDetector.h"
#include "memory/Person.h"
#include "memory/SaveOffer.h"

#include <QList>
#include <QSet>

#include <optional>

namespace lumeno {

class MemoryStore;
struct PackedContext;

// Turns what a reply said into save offers (a promise, a new person or address, a pin) and stores the one
// the user accepts. Nothing is offered twice in a run.
class ConfirmSaveFlow {
public:
    // `memory` must outlive the flow; `dates` resolves the due dates of promises.
    explicit ConfirmSaveFlow(MemoryStore& memory, const DateDetector& dates = DateDetector::system());

    QList<SaveOffer> offers(const QString& intent, const QString& draft, const std::optional<PackedContext>& context,
                            const std::optional<Person>& person, const std::optional<QString>& thread,
                            const std::optional<QString>& ownName, const std::optional<QString>& partner);
    // Stores the offer; the id of the new person for a person offer. `linking` ties an unowned
    // commitment or pin to a person.
    std::optional<QUuid> accept(const SaveOffer& offer, const std::optional<QUuid>& linking);

private:
    std::optional<SaveOffer> commitmentOffer(const QString& intent, const QString& draft,
                                             const std::optional<Person>& person) const;
    std::optional<SaveOffer> addresseeOffer(const std::optional<PackedContext>& context,
                                            const std::optional<Person>& person, const std::optional<QString>& ownName,
                                            const std::optional<QString>& partner) const;

    MemoryStore& memory_;
    const DateDetector& dates_;
    QSet<QString> offered_;
};

} // namespace lumeno
