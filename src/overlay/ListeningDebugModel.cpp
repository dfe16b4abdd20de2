#include "overlay/ListeningDebugModel.h"

namespace lumeno {

void ListeningDebugModel::setPerson(const QString& person) {
    if (person == person_)
        return;
    person_ = person;
    emit personChanged();
}

void ListeningDebugModel::setThread(const QString& thread) {
    if (thread == thread_)
        return;
    thread_ = thread;
    emit threadChanged();
}

void ListeningDebugModel::setOther(const QString& other) {
    if (other == other_)
        return;
    other_ = other;
    emit otherChanged();
}

} // namespace lumeno
