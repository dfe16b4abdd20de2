#pragma once

#include <QString>

#include <optional>

namespace lumeno {

class ContextReader;
class ListeningDebug;
class MemoryStore;
class StyleStore;

// The diagnostics panel beside the listening overlay, for users who record how drafts are made: who the
// reply is for, the thread that will be packed, and the field, style and person card the draft will use.
class ListeningDiagnostics {
public:
    ListeningDiagnostics(ListeningDebug& panel, const MemoryStore& memory, const StyleStore& style)
        : panel_(panel), memory_(memory), style_(style) {}

    // `note` says why no thread is read, once that is known.
    void show(const ContextReader& context, bool contextEnabled, const std::optional<QString>& note, bool editing);
    void hide();

private:
    QString person(const ContextReader& context) const;
    static QString thread(const ContextReader& context, bool contextEnabled, const std::optional<QString>& note);
    QString other(const ContextReader& context, bool editing) const;

    ListeningDebug& panel_;
    const MemoryStore& memory_;
    const StyleStore& style_;
};

} // namespace lumeno
