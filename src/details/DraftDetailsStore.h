#pragma once

#include "details/DraftDetails.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <functional>

namespace lumeno {

class Clock;

// The latest draft records: up to five in memory for the draft-details window and, when the user saves them,
// draft-details.jsonl (DraftDetailsFile), written off the main thread. Lines that do not decode are skipped
// on load.
class DraftDetailsStore : public QObject {
    Q_OBJECT
public:
    static constexpr int sessionsKept = 5;

    // Nothing is read until loadSaved(). `clock` stamps the name of a file moved aside; it must outlive
    // the store.
    DraftDetailsStore(QString filePath, const Clock& clock, QObject* parent = nullptr);
    // Waits for the file work still running.
    ~DraftDetailsStore() override;

    // Newest first, at most five.
    const QList<DraftDetails>& sessions() const { return sessions_; }
    // The windows empty the list when recording is switched off.
    void setSessions(QList<DraftDetails> sessions);
    bool hasSavedFile() const { return hasSavedFile_; }
    const QString& filePath() const { return filePath_; }

    // Fills an empty list from the file, newest first (a later line first between equal dates).
    void loadSaved();
    // Puts `details` at the front in place of any record with its id, and saves it when `toDisk`.
    void record(const DraftDetails& details, bool toDisk);
    // Changes the record with `id` in place, and saves it when `toDisk`; an id no longer listed is ignored.
    void update(const QUuid& id, bool toDisk, const std::function<void(DraftDetails&)>& change);
    // Removes the file (and the copies moved aside); the records in memory stay.
    void deleteSavedFile();
    // Saves and removals run off the main thread in the order asked: this waits for those asked so far
    // and takes in what they tell (hasSavedFile).
    void finishDiskWork();

signals:
    void sessionsChanged();
    void hasSavedFileChanged();

private:
    void setHasSavedFile(bool has);
    void save(const DraftDetails& details);

    QString filePath_;
    const Clock& clock_;
    QList<DraftDetails> sessions_;
    bool hasSavedFile_ = false;
    int fileGeneration_ = 0; // grows with every removal of the file
    QThreadPool disk_;
};

} // namespace lumeno
