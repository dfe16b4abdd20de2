#include "details/DraftDetailsSwitches.h"

#include "details/DraftDetailsStore.h"
#include "foundation/SettingsStore.h"

namespace lumeno {

DraftDetailsSwitches::DraftDetailsSwitches(SettingsStore& settings, DraftDetailsStore& store, QObject* parent)
    : QObject(parent), settings_(settings), store_(store) {}

void DraftDetailsSwitches::setShowsDraftDetails(bool on) {
    settings_.setShowsDraftDetails(on);
    emit recordingSwitched();
    if (on) {
        emit draftDetailsWanted();
        return;
    }
    settings_.setSavesDraftDetails(false);
    store_.deleteSavedFile();
    store_.setSessions({});
}

void DraftDetailsSwitches::setSavesDraftDetails(bool on) {
    settings_.setSavesDraftDetails(on);
    if (!on)
        store_.deleteSavedFile();
}

} // namespace lumeno
