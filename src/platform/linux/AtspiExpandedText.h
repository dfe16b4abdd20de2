#pragma once

#include "platform/linux/AtspiNode.h"

#include <QString>

#include <optional>
#include <vector>

namespace lumeno {

// An object's text with its embedded objects expanded (AtspiTextReader), and the way back: where each
// unit of each object's own text landed in it. Selections are read and set in the objects' own texts and
// shown to the program in the expanded one.
struct AtspiExpandedText {
    // One object's own text as the toolkit gives it, U+FFFC standing for each embedded object.
    struct Source {
        AtspiNode node;
        QString raw;
        qsizetype start = 0; // where the object's text begins and ends in `text`
        qsizetype end = 0;
        // Per UTF-16 unit of `raw`: where what it stands for begins and ends in `text` (a character is
        // one unit long, an expanded object spans its text, one left out is empty) and, for an expanded
        // object, the index of its source.
        std::vector<qsizetype> begins;
        std::vector<qsizetype> ends;
        std::vector<int> objects;
    };
    // A position in one object's own text: a UTF-16 index into its `raw`.
    struct Place {
        int source = 0;
        qsizetype index = 0;
        bool operator==(const Place&) const = default;
    };
    enum class Edge { start, end };

    QString text;
    std::vector<Source> sources; // the first is the object that was read

    // Starts a source for `node`'s own text at the end of `text`; its units are then appended one by one.
    int beginSource(const AtspiNode& node, const QString& raw);
    void appendCharacter(int source, qsizetype index);
    void skipUnit(int source, qsizetype index);
    // Puts `inner` (an embedded object's expansion) at `at` in `text` (already holding its text there), or
    // nowhere when `at` is none; the unit `index` of `source` stands for it.
    void adoptObject(int source, qsizetype index, AtspiExpandedText inner, std::optional<qsizetype> at);
    void endSource(int source);
    // Drops `text` past `length` (trailing line breaks), keeping every position inside it.
    void truncate(qsizetype length);

    // Where the position in `text` lies in the deepest object's own text: a start before the first
    // character at or after it, an end after the last character at or before it (or the other way round
    // when there is no character on that side). Without a character, the start of the object read.
    Place place(qsizetype position, Edge edge) const;
    // Where a place lies in `text`: a start where the unit at the place begins, an end where the unit
    // before it ends.
    qsizetype position(Place place, Edge edge) const;
    // The source of the embedded object a start (the unit at the place) or an end (the unit before it)
    // falls on; none for a character.
    std::optional<int> objectAt(Place place, Edge edge) const;
};

} // namespace lumeno
