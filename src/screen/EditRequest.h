#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Text the user asked to rewrite by voice, with the text around it.
struct EditRequest {
    enum class Scope { selection, wholeField };

    QString original;
    Scope scope = Scope::selection;
    QString surrounding;

    static QString rawValue(Scope scope);
    // None for any text other than "selection" and "wholeField".
    static std::optional<Scope> scopeFromRawValue(const QString& raw);

    bool operator==(const EditRequest&) const = default;
};

inline QString EditRequest::rawValue(Scope scope) {
    return scope == Scope::selection ? QStringLiteral("selection") : QStringLiteral("wholeField");
}

inline std::optional<EditRequest::Scope> EditRequest::scopeFromRawValue(const QString& raw) {
    if (raw == QLatin1String("selection"))
        return Scope::selection;
    if (raw == QLatin1String("wholeField"))
        return Scope::wholeField;
    return std::nullopt;
}

} // namespace lumeno
