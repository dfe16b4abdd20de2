#pragma once

#include "drafting/StyleProfile.h"
#include "foundation/Surface.h"
#include "memory/PersonCard.h"
#include "screen/EditRequest.h"
#include "screen/PackedContext.h"

#include <QString>

#include <optional>

namespace lumeno {

// Everything one draft is made from, gathered by the reply loop while the user speaks.
struct DraftInput {
    QString intent; // what the user said the message should say, trimmed
    Surface surface = Surface::other;
    std::optional<QString> appName;
    std::optional<QString> windowTitle; // raw; the prompt redacts and shortens it
    QString userName;                   // the resolved name of the style profile
    std::optional<PackedContext> context;
    StyleProfile style;
    std::optional<PersonCard> person;
    std::optional<EditRequest> edit; // set in edit mode only
    std::optional<QString> spokenLanguage; // display name of the language the user spoke ("German")
    std::optional<QString> addressee;      // who the reply goes to
    bool followingUp = false;              // the user wrote the thread's last message
    std::optional<QString> ownAlias;       // the name the user appears under in the thread

    bool operator==(const DraftInput&) const = default;
};

} // namespace lumeno
