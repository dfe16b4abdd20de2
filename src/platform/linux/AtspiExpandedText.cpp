#include "platform/linux/AtspiExpandedText.h"

#include <algorithm>

namespace lumeno {

int AtspiExpandedText::beginSource(const AtspiNode& node, const QString& raw) {
    const qsizetype here = text.size();
    const auto units = std::size_t(raw.size());
    sources.push_back(Source{node, raw, here, here, std::vector<qsizetype>(units, here),
                             std::vector<qsizetype>(units, here), std::vector<int>(units, -1)});
    return int(sources.size()) - 1;
}

void AtspiExpandedText::appendCharacter(int source, qsizetype index) {
    Source& own = sources[std::size_t(source)];
    own.begins[std::size_t(index)] = text.size();
    text += own.raw.at(index);
    own.ends[std::size_t(index)] = text.size();
}

void AtspiExpandedText::skipUnit(int source, qsizetype index) {
    Source& own = sources[std::size_t(source)];
    own.begins[std::size_t(index)] = text.size();
    own.ends[std::size_t(index)] = text.size();
}

void AtspiExpandedText::adoptObject(int source, qsizetype index, AtspiExpandedText inner, std::optional<qsizetype> at) {
    const int first = int(sources.size());
    // Left out, the object's characters all sit where it would have been.
    const auto moved = [&](qsizetype position) { return at ? *at + position : text.size(); };
    for (Source& nested : inner.sources) {
        nested.start = moved(nested.start);
        nested.end = moved(nested.end);
        std::transform(nested.begins.begin(), nested.begins.end(), nested.begins.begin(), moved);
        std::transform(nested.ends.begin(), nested.ends.end(), nested.ends.begin(), moved);
        for (int& object : nested.objects)
            if (object >= 0)
                object += first;
        sources.push_back(std::move(nested));
    }
    Source& own = sources[std::size_t(source)];
    own.begins[std::size_t(index)] = moved(0);
    own.ends[std::size_t(index)] = moved(at ? inner.text.size() : 0);
    own.objects[std::size_t(index)] = inner.sources.empty() ? -1 : first;
}

void AtspiExpandedText::endSource(int source) {
    sources[std::size_t(source)].end = text.size();
}

void AtspiExpandedText::truncate(qsizetype length) {
    text.truncate(length);
    const auto clamped = [length](qsizetype position) { return std::min(position, length); };
    for (Source& source : sources) {
        source.start = clamped(source.start);
        source.end = clamped(source.end);
        std::transform(source.begins.begin(), source.begins.end(), source.begins.begin(), clamped);
        std::transform(source.ends.begin(), source.ends.end(), source.ends.begin(), clamped);
    }
}

namespace {

// A toolkit's padding after a character outside the BMP (see ToolkitTextModel): left out of the text, it
// still belongs to the character before it.
bool isPadding(const AtspiExpandedText::Source& source, std::size_t unit) {
    return unit < source.begins.size() && source.begins[unit] == source.ends[unit] && source.objects[unit] < 0 &&
           source.raw.at(qsizetype(unit)) == QChar(0xFEFF) && source.raw.at(qsizetype(unit) - 1).isLowSurrogate();
}

} // namespace

AtspiExpandedText::Place AtspiExpandedText::place(qsizetype position, Edge edge) const {
    std::optional<Place> following; // the first character at or after the position
    std::optional<Place> preceding; // the last character at or before it
    qsizetype followingBegin = 0;
    qsizetype precedingEnd = 0;
    for (std::size_t source = 0; source < sources.size(); ++source) {
        const Source& own = sources[source];
        for (std::size_t unit = 0; unit < own.begins.size(); ++unit) {
            const qsizetype begin = own.begins[unit];
            const qsizetype end = own.ends[unit];
            if (own.objects[unit] >= 0 || end <= begin)
                continue; // an object (its own characters are in its source) or a unit left out
            if (begin >= position && (!following || begin < followingBegin)) {
                following = Place{int(source), qsizetype(unit)};
                followingBegin = begin;
            }
            if (end <= position && (!preceding || end > precedingEnd)) {
                preceding = Place{int(source), qsizetype(unit) + 1 + (isPadding(own, unit + 1) ? 1 : 0)};
                precedingEnd = end;
            }
        }
    }
    const std::optional<Place> first = edge == Edge::start ? following : preceding;
    const std::optional<Place> second = edge == Edge::start ? preceding : following;
    return first ? *first : second ? *second : Place{};
}

qsizetype AtspiExpandedText::position(Place place, Edge edge) const {
    const Source& own = sources.at(std::size_t(place.source));
    const auto units = qsizetype(own.begins.size());
    if (edge == Edge::start)
        return place.index < units ? own.begins[std::size_t(place.index)] : own.end;
    return place.index > 0 && place.index <= units ? own.ends[std::size_t(place.index - 1)] : own.start;
}

std::optional<int> AtspiExpandedText::objectAt(Place place, Edge edge) const {
    const Source& own = sources.at(std::size_t(place.source));
    const qsizetype unit = edge == Edge::start ? place.index : place.index - 1;
    if (unit < 0 || unit >= qsizetype(own.objects.size()) || own.objects[std::size_t(unit)] < 0)
        return std::nullopt;
    return own.objects[std::size_t(unit)];
}

} // namespace lumeno
