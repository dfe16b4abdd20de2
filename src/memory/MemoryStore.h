#pragma once

#include "memory/MemoryData.h"
#include "memory/PersonCard.h"
#include "support/FileWriter.h"

#include <QCoroTask>
#include <QObject>

#include <optional>

namespace lumeno {

class Clock;

// The single owner of the user's memory: people, commitments and pins in memory.json. Every change cleans
// the texts it stores (trimmed, secrets redacted) and has the whole file rewritten off the main thread.
class MemoryStore : public QObject {
    Q_OBJECT
public:
    struct SearchResults {
        QList<Person> people;
        QList<Commitment> commitments;
        QList<Pin> pins;
        bool operator==(const SearchResults&) const = default;
    };

    // Reads `filePath` once. `clock` stamps every record and must outlive the store.
    MemoryStore(QString filePath, const Clock& clock, QObject* parent = nullptr);

    const MemoryData& data() const { return data_; }
    // Replaces the memory whole without saving; `changed()` only when it differs.
    void setData(MemoryData data);
    const QString& filePath() const { return filePath_; }
    const Clock& clock() const { return clock_; }

    // Display order (stable sorts, recomputed on every read): people by name, localized and
    // case-insensitive; commitments open before done, dated before undated, earlier due first, then newer
    // first; pins newer first.
    QList<Person> people() const;
    QList<Commitment> commitments() const;
    QList<Pin> pins() const;
    QList<Commitment> commitments(const QUuid& personID) const;
    QList<Pin> pins(const QUuid& personID) const;

    // Open commitments due before the end of today (the local day's start plus 86,400 seconds).
    int dueCount() const;
    std::optional<Person> person(const std::optional<QUuid>& id) const;
    // The memory in the file format, for the export.
    QByteArray exportData() const;
    // Writes exportData() to `path` off the main thread, after the saves asked before. None on success,
    // else the reason.
    QCoro::Task<std::optional<QString>> exportTo(const QString& path);

    // The Memory window's filter: records mentioning `query` (case and diacritics ignored), display order.
    SearchResults search(const QString& query) const;
    // What the prompt knows of `person`: name, notes, open commitments with due dates in words, pins.
    PersonCard card(const Person& person) const;

    Person addPerson(const QString& name, const QStringList& aliases, const QString& notes);
    void addAlias(const QString& alias, const QUuid& personID);
    void updatePerson(const Person& person);
    void deletePerson(const QUuid& id);
    // Moves `source` into `target`: its name and aliases become the target's aliases, notes are joined,
    // its commitments and pins follow, and the source is removed.
    void merge(const QUuid& source, const QUuid& target);
    void addCommitment(const QString& text, const std::optional<QDateTime>& due,
                       const std::optional<QUuid>& personID);
    void updateCommitment(const Commitment& commitment);
    void setDone(const QUuid& id, bool done);
    void deleteCommitment(const QUuid& id);
    Pin addPin(const QString& text, const std::optional<QUuid>& personID, const std::optional<QString>& thread);
    void updatePin(const Pin& pin);
    void deletePin(const QUuid& id);
    // Empties memory at once and removes memory.json with every copy kept of it. None on success, else why
    // some of it is still on disk (memory then shows again what memory.json still holds, unless it was
    // changed meanwhile: that change is saved over it).
    QCoro::Task<std::optional<QString>> wipe();
    // Waits until what was saved so far is on disk.
    void finishDiskWork() { disk_.finish(); }

signals:
    void changed();

private:
    void load();
    // Stores `next`, tells observers when it differs and saves either way.
    void commit(MemoryData next);
    void save();
    // Puts `replacement` in place of the stored record with its id; nothing when there is none, or when
    // the stored one is equal.
    template <typename T>
    void replaceRecord(QList<T> MemoryData::*records, const T& replacement);
    bool moveUnreadableFileAside();

    static QString clean(const QString& text);
    static std::optional<QString> cleanThread(const std::optional<QString>& thread);
    static QStringList cleanAliases(const QStringList& aliases);
    Person cleaned(Person person) const;

    QString filePath_;
    const Clock& clock_;
    MemoryData data_;
    // Set when memory.json exists but could not be read: it is moved aside before anything replaces it.
    bool unreadableFileOnDisk_ = false;
    int wipesUnderWay_ = 0;
    bool changedDuringWipe_ = false; // saved while a wipe was under way
    FileWriter disk_;
};

} // namespace lumeno
