#include "details/DraftDetailsStore.h"

#include "details/DraftDetailsFile.h"
#include "details/DraftDetailsLine.h"
#include "support/Clock.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace lumeno {

DraftDetailsStore::DraftDetailsStore(QString filePath, const Clock& clock, QObject* parent)
    : QObject(parent), filePath_(std::move(filePath)), clock_(clock), hasSavedFile_(QFileInfo::exists(filePath_)) {
    disk_.setMaxThreadCount(1); // one piece of file work at a time, in the order asked
    disk_.setExpiryTimeout(-1);
}

DraftDetailsStore::~DraftDetailsStore() {
    disk_.waitForDone(); // the last records reach the disk before the program ends
}

void DraftDetailsStore::setSessions(QList<DraftDetails> sessions) {
    if (sessions == sessions_)
        return;
    sessions_ = std::move(sessions);
    emit sessionsChanged();
}

void DraftDetailsStore::setHasSavedFile(bool has) {
    if (has == hasSavedFile_)
        return;
    hasSavedFile_ = has;
    emit hasSavedFileChanged();
}

void DraftDetailsStore::loadSaved() {
    if (!sessions_.isEmpty())
        return;
    QString failure;
    const std::optional<QStringList> lines = DraftDetailsFile::lines(filePath_, &failure);
    if (!lines)
        return;
    QList<DraftDetails> loaded;
    for (const QString& line : *lines)
        if (std::optional<DraftDetails> details = DraftDetailsLine::decode(line.toUtf8()))
            loaded.append(std::move(*details));
    // Reversed file order, then a stable sort by date: between equal dates the later line comes first.
    std::reverse(loaded.begin(), loaded.end());
    std::stable_sort(loaded.begin(), loaded.end(),
                     [](const DraftDetails& a, const DraftDetails& b) { return a.date > b.date; });
    setSessions(loaded.mid(0, sessionsKept));
}

void DraftDetailsStore::record(const DraftDetails& details, bool toDisk) {
    QList<DraftDetails> next = sessions_;
    next.removeIf([&details](const DraftDetails& kept) { return kept.id == details.id; });
    next.prepend(details);
    setSessions(next.mid(0, sessionsKept));
    if (toDisk)
        save(details);
}

void DraftDetailsStore::update(const QUuid& id, bool toDisk, const std::function<void(DraftDetails&)>& change) {
    const auto found =
        std::find_if(sessions_.cbegin(), sessions_.cend(), [&id](const DraftDetails& kept) { return kept.id == id; });
    if (found == sessions_.cend())
        return;
    QList<DraftDetails> next = sessions_;
    DraftDetails& changed = next[found - sessions_.cbegin()];
    change(changed);
    const DraftDetails saved = changed;
    setSessions(std::move(next));
    if (toDisk)
        save(saved);
}

void DraftDetailsStore::deleteSavedFile() {
    ++fileGeneration_; // saves asked for before this no longer tell of a file
    disk_.start([path = filePath_] { DraftDetailsFile::remove(path); });
    setHasSavedFile(false);
}

void DraftDetailsStore::save(const DraftDetails& details) {
    const std::optional<QByteArray> encoded = DraftDetailsLine::encode(details);
    if (!encoded)
        return;
    // The store outlives its file work (its destructor waits for it); an answer posted to it as it goes
    // is dropped with it.
    disk_.start([this, path = filePath_, id = details.id, line = *encoded, now = clock_.now(),
                 generation = fileGeneration_] {
        if (!DraftDetailsFile::save(path, id, line, now))
            return;
        QMetaObject::invokeMethod(this, [this, generation] {
            if (generation == fileGeneration_)
                setHasSavedFile(true);
        });
    });
}

void DraftDetailsStore::finishDiskWork() {
    disk_.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

} // namespace lumeno
