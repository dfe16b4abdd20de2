#include "memory/MemoryStore.h"

#include "foundation/SecretRedactor.h"
#include "memory/DueDateFormat.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Text.h"

#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QSet>

#include <algorithm>

namespace lumeno {

namespace {

template <typename T, typename Less>
QList<T> stableSorted(QList<T> records, Less less) {
    std::stable_sort(records.begin(), records.end(), less);
    return records;
}

bool displayOrder(const Commitment& a, const Commitment& b) {
    if (a.done != b.done)
        return !a.done;
    if (a.due.has_value() != b.due.has_value())
        return a.due.has_value();
    if (a.due && *a.due != *b.due)
        return *a.due < *b.due;
    return a.createdAt > b.createdAt;
}

template <typename T>
QList<T> withPerson(const QList<T>& sorted, const QUuid& personID) {
    QList<T> result;
    for (const T& record : sorted)
        if (record.personID == personID)
            result.append(record);
    return result;
}

template <typename T>
QList<T> withoutId(QList<T> records, const QUuid& id) {
    records.removeIf([&id](const T& record) { return record.id == id; });
    return records;
}

template <typename T>
qsizetype indexOfId(const QList<T>& records, const QUuid& id) {
    const auto found = std::find_if(records.begin(), records.end(), [&id](const T& r) { return r.id == id; });
    return found == records.end() ? -1 : qsizetype(found - records.begin());
}

} // namespace

MemoryStore::MemoryStore(QString filePath, const Clock& clock, QObject* parent)
    : QObject(parent), filePath_(std::move(filePath)), clock_(clock),
      disk_(Log::memory, QStringLiteral("Couldn't save memory: %{public}s")) {
    load();
}

void MemoryStore::load() {
    const AtomicFile::ReadResult read = AtomicFile::read(filePath_);
    if (std::holds_alternative<AtomicFile::Missing>(read))
        return;
    QString failure;
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&read)) {
        failure = unreadable->message;
    } else if (std::optional<MemoryData> decoded = MemoryData::fromJson(std::get<QByteArray>(read), &failure)) {
        data_ = std::move(*decoded);
        return;
    }
    // Start empty, but keep the file: the first save moves it aside instead of writing over it.
    Log::memory.error(QStringLiteral("Couldn't read memory: %{public}s"), {failure});
    unreadableFileOnDisk_ = true;
}

template <typename T>
void MemoryStore::replaceRecord(QList<T> MemoryData::*records, const T& replacement) {
    const qsizetype index = indexOfId(data_.*records, replacement.id);
    if (index < 0 || (data_.*records)[index] == replacement)
        return;
    MemoryData next = data_;
    (next.*records)[index] = replacement;
    commit(std::move(next));
}

void MemoryStore::setData(MemoryData data) {
    if (data == data_)
        return;
    data_ = std::move(data);
    emit changed();
}

void MemoryStore::commit(MemoryData next) {
    setData(std::move(next));
    save();
}

void MemoryStore::save() {
    changedDuringWipe_ |= wipesUnderWay_ > 0;
    if (unreadableFileOnDisk_ && !moveUnreadableFileAside())
        return;
    disk_.save([path = filePath_, contents = data_.toJson()] { return AtomicFile::write(path, contents); });
}

bool MemoryStore::moveUnreadableFileAside() {
    const auto moved = AtomicFile::moveAside(filePath_, clock_.now());
    if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&moved)) {
        Log::memory.error(QStringLiteral("Couldn't save memory: the unreadable memory file could not be moved "
                                         "aside: %{public}s"),
                          {failure->message});
        return false;
    }
    // A file removed since it was found unreadable needs no keeping.
    if (const auto* aside = std::get_if<QString>(&moved))
        Log::memory.info(QStringLiteral("Moved unreadable memory to %{public}s"), {QFileInfo(*aside).fileName()});
    unreadableFileOnDisk_ = false;
    return true;
}

QString MemoryStore::clean(const QString& text) {
    return SecretRedactor::redact(Text::trimmed(text)).text;
}

std::optional<QString> MemoryStore::cleanThread(const std::optional<QString>& thread) {
    if (!thread)
        return std::nullopt;
    QString cleanedThread = clean(*thread);
    if (cleanedThread.isEmpty())
        return std::nullopt;
    return cleanedThread;
}

QStringList MemoryStore::cleanAliases(const QStringList& aliases) {
    QStringList kept;
    QSet<QString> seen;
    for (const QString& alias : aliases) {
        const QString cleanedAlias = clean(alias);
        if (cleanedAlias.isEmpty())
            continue;
        const QString key = Text::lowercased(cleanedAlias);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        kept.append(cleanedAlias);
    }
    return kept;
}

Person MemoryStore::cleaned(Person person) const {
    person.name = clean(person.name);
    person.aliases = cleanAliases(person.aliases);
    person.notes = clean(person.notes);
    return person;
}

QList<Person> MemoryStore::people() const {
    return stableSorted(data_.people, [](const Person& a, const Person& b) {
        return Text::localizedCaseInsensitiveCompare(a.name, b.name) < 0;
    });
}

QList<Commitment> MemoryStore::commitments() const {
    return stableSorted(data_.commitments, displayOrder);
}

QList<Pin> MemoryStore::pins() const {
    return stableSorted(data_.pins, [](const Pin& a, const Pin& b) { return a.createdAt > b.createdAt; });
}

QList<Commitment> MemoryStore::commitments(const QUuid& personID) const {
    return withPerson(commitments(), personID);
}

QList<Pin> MemoryStore::pins(const QUuid& personID) const {
    return withPerson(pins(), personID);
}

int MemoryStore::dueCount() const {
    // A fixed 86,400 seconds after the day's start: on a day the clocks change this is not midnight.
    const QDateTime limit = clock_.now().toLocalTime().date().startOfDay().addSecs(86400);
    return int(std::count_if(data_.commitments.begin(), data_.commitments.end(), [&limit](const Commitment& c) {
        return !c.done && c.due && *c.due < limit;
    }));
}

std::optional<Person> MemoryStore::person(const std::optional<QUuid>& id) const {
    if (!id)
        return std::nullopt;
    const qsizetype index = indexOfId(data_.people, *id);
    return index < 0 ? std::nullopt : std::optional<Person>(data_.people[index]);
}

QByteArray MemoryStore::exportData() const {
    return data_.toJson();
}

QCoro::Task<std::optional<QString>> MemoryStore::exportTo(const QString& path) {
    return disk_.run<std::optional<QString>>(
        [path, contents = exportData()] { return AtomicFile::write(path, contents, AtomicFile::Access::byUmask); });
}

MemoryStore::SearchResults MemoryStore::search(const QString& query) const {
    const QString needle = Text::folded(Text::trimmed(query));
    if (needle.isEmpty())
        return {people(), commitments(), pins()};
    auto mentions = [&needle](const QString& text) { return Text::folded(text).contains(needle); };

    // One pass over the people: who matches, and each id's folded name for the records that link to it
    // (the first stored person with an id, as a look-up by id would find).
    QSet<QUuid> matchingPeople;
    QHash<QUuid, QString> foldedNames;
    for (const Person& person : data_.people) {
        const QString name = Text::folded(person.name);
        if (!foldedNames.contains(person.id))
            foldedNames.insert(person.id, name);
        if (name.contains(needle) || mentions(person.notes) || std::any_of(person.aliases.begin(), person.aliases.end(), mentions))
            matchingPeople.insert(person.id);
    }
    auto linkedNameMentions = [&](const std::optional<QUuid>& personID) {
        const auto linked = personID ? foldedNames.constFind(*personID) : foldedNames.cend();
        return linked != foldedNames.cend() && linked->contains(needle);
    };

    SearchResults results;
    for (const Person& person : people())
        if (matchingPeople.contains(person.id))
            results.people.append(person);
    for (const Commitment& commitment : commitments())
        if (mentions(commitment.text) || linkedNameMentions(commitment.personID))
            results.commitments.append(commitment);
    for (const Pin& pin : pins())
        if (mentions(pin.text) || (pin.thread && mentions(*pin.thread)) || linkedNameMentions(pin.personID))
            results.pins.append(pin);
    return results;
}

PersonCard MemoryStore::card(const Person& person) const {
    PersonCard card{person.name, person.notes, {}, {}};
    for (const Commitment& commitment : commitments(person.id)) {
        if (commitment.done)
            continue;
        card.commitments.append(commitment.due ? QStringLiteral("%1 (due %2)").arg(commitment.text, DueDateFormat::format(*commitment.due))
                                               : commitment.text);
    }
    for (const Pin& pin : pins(person.id))
        card.pins.append(pin.text);
    return card;
}

Person MemoryStore::addPerson(const QString& name, const QStringList& aliases, const QString& notes) {
    Person person = cleaned({QUuid::createUuid(), name, aliases, notes, clock_.now(), clock_.now()});
    MemoryData next = data_;
    next.people.append(person);
    commit(std::move(next));
    return person;
}

void MemoryStore::addAlias(const QString& alias, const QUuid& personID) {
    std::optional<Person> person = this->person(personID);
    if (!person)
        return;
    person->aliases.append(alias);
    updatePerson(*person);
}

void MemoryStore::updatePerson(const Person& person) {
    const qsizetype index = indexOfId(data_.people, person.id);
    Person replacement = cleaned(person);
    if (index < 0 || replacement == data_.people[index])
        return;
    replacement.updatedAt = clock_.now();
    replaceRecord(&MemoryData::people, replacement);
}

void MemoryStore::deletePerson(const QUuid& id) {
    MemoryData next = data_;
    next.people = withoutId(next.people, id);
    for (Commitment& commitment : next.commitments)
        if (commitment.personID == id)
            commitment.personID.reset();
    for (Pin& pin : next.pins)
        if (pin.personID == id)
            pin.personID.reset();
    commit(std::move(next));
}

void MemoryStore::merge(const QUuid& source, const QUuid& target) {
    if (source == target)
        return;
    const std::optional<Person> from = person(source);
    const std::optional<Person> into = person(target);
    if (!from || !into)
        return;

    Person combined = *into;
    combined.aliases << from->name << from->aliases;
    if (combined.notes.isEmpty())
        combined.notes = from->notes;
    else if (!from->notes.isEmpty())
        combined.notes += QLatin1Char('\n') + from->notes;

    MemoryData next = data_;
    next.people = withoutId(next.people, source);
    for (Commitment& commitment : next.commitments)
        if (commitment.personID == source)
            commitment.personID = target;
    for (Pin& pin : next.pins)
        if (pin.personID == source)
            pin.personID = target;
    const qsizetype index = indexOfId(next.people, target);
    Person replacement = cleaned(combined);
    if (replacement != next.people[index]) {
        replacement.updatedAt = clock_.now();
        next.people[index] = replacement;
    }
    commit(std::move(next));
}

void MemoryStore::addCommitment(const QString& text, const std::optional<QDateTime>& due,
                                const std::optional<QUuid>& personID) {
    MemoryData next = data_;
    next.commitments.append({QUuid::createUuid(), clean(text), due, personID, false, clock_.now()});
    commit(std::move(next));
}

void MemoryStore::updateCommitment(const Commitment& commitment) {
    Commitment cleanedCommitment = commitment;
    cleanedCommitment.text = clean(commitment.text);
    replaceRecord(&MemoryData::commitments, cleanedCommitment);
}

void MemoryStore::setDone(const QUuid& id, bool done) {
    const qsizetype index = indexOfId(data_.commitments, id);
    if (index < 0)
        return;
    Commitment ticked = data_.commitments[index];
    ticked.done = done;
    replaceRecord(&MemoryData::commitments, ticked);
}

void MemoryStore::deleteCommitment(const QUuid& id) {
    MemoryData next = data_;
    next.commitments = withoutId(next.commitments, id);
    commit(std::move(next));
}

Pin MemoryStore::addPin(const QString& text, const std::optional<QUuid>& personID,
                        const std::optional<QString>& thread) {
    const Pin pin{QUuid::createUuid(), clean(text), personID, cleanThread(thread), clock_.now()};
    MemoryData next = data_;
    next.pins.append(pin);
    commit(std::move(next));
    return pin;
}

void MemoryStore::updatePin(const Pin& pin) {
    Pin cleanedPin = pin;
    cleanedPin.text = clean(pin.text);
    cleanedPin.thread = cleanThread(pin.thread);
    replaceRecord(&MemoryData::pins, cleanedPin);
}

void MemoryStore::deletePin(const QUuid& id) {
    MemoryData next = data_;
    next.pins = withoutId(next.pins, id);
    commit(std::move(next));
}

QCoro::Task<std::optional<QString>> MemoryStore::wipe() {
    struct Removal {
        std::optional<QString> fileFailure; // memory.json is still there with what it held
        std::optional<QString> copiesFailure;
    };
    // Memory is empty from the moment the wipe is asked: what changes meanwhile is a change to the empty
    // memory, and its save, queued behind the removal, writes nothing of what was wiped.
    const MemoryData wiped = data_;
    ++wipesUnderWay_;
    setData(MemoryData{});
    // After the saves asked before it. A memory.json that cannot be removed is emptied in place, so that
    // none of it survives either way; copies of an unreadable memory.json kept earlier hold people and
    // promises too.
    QCoro::Task<Removal> removing = disk_.run<Removal>([path = filePath_] {
        Removal removal;
        removal.fileFailure = AtomicFile::remove(path);
        if (removal.fileFailure && !AtomicFile::write(path, MemoryData{}.toJson()))
            removal.fileFailure.reset();
        removal.copiesFailure = AtomicFile::removeCopiesAside(path);
        return removal;
    });
    const QPointer<MemoryStore> self(this);
    const Removal removal = co_await removing;
    if (self) {
        if (!removal.fileFailure)
            unreadableFileOnDisk_ = false;
        else if (!changedDuringWipe_)
            setData(wiped); // still on disk, so still shown
        if (--wipesUnderWay_ == 0)
            changedDuringWipe_ = false;
    }
    if (const std::optional<QString> failure = removal.fileFailure ? removal.fileFailure : removal.copiesFailure) {
        Log::memory.error(QStringLiteral("Couldn't wipe memory: %{public}s"), {*failure});
        co_return failure;
    }
    Log::memory.info(QStringLiteral("Memory wiped"));
    co_return std::nullopt;
}

} // namespace lumeno
