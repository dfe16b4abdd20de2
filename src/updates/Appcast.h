#pragma once

#include "updates/AppcastItem.h"

#include <QByteArray>
#include <QStringList>
#include <variant>
#include <vector>

namespace lumeno {

// Reads an update feed: RSS 2.0 whose items carry our elements (docs/updates.md).
namespace Appcast {

// The XML namespace of our item elements and of the enclosure's signature.
inline constexpr QLatin1StringView xmlNamespace{"https://lumeno.app/xml/update"};

struct Feed {
    std::vector<AppcastItem> items;
    QStringList skipped; // why items were left out: each names the item and what it lacks
};

struct Failure {
    enum class Kind { malformed, notAFeed };
    Kind kind = Kind::malformed;
    QString reason; // for logs
};

std::variant<Feed, Failure> read(const QByteArray& document);

} // namespace Appcast

} // namespace lumeno
