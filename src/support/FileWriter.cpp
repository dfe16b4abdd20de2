#include "support/FileWriter.h"

#include <QCoreApplication>

namespace lumeno {

FileWriter::FileWriter(const Logger& log, QString failureFormat, QObject* parent)
    : QObject(parent), log_(log), failureFormat_(std::move(failureFormat)) {
    disk_.setMaxThreadCount(1); // one piece of work at a time, in the order asked
}

FileWriter::~FileWriter() {
    finish();
}

void FileWriter::save(Work work) {
    if (waitingSave_) {
        std::lock_guard lock(waitingSave_->mutex);
        if (waitingSave_->work) {
            waitingSave_->work = std::move(work);
            return;
        }
    }
    auto slot = std::make_shared<Slot>();
    slot->work = std::move(work);
    waitingSave_ = slot;
    // The writer outlives its work (its destructor waits for it), so the outcome can be posted to it.
    disk_.start([this, slot] {
        std::optional<Work> work;
        {
            std::lock_guard lock(slot->mutex);
            work = std::exchange(slot->work, std::nullopt);
        }
        if (const std::optional<QString> failure = (*work)())
            QMetaObject::invokeMethod(this, [this, reason = *failure] { reportFailure(reason); });
    });
}

void FileWriter::finish() {
    disk_.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void FileWriter::reportFailure(const QString& reason) {
    log_.error(failureFormat_, {reason});
}

} // namespace lumeno
