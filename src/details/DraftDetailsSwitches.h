#pragma once

#include <functional>

namespace lumeno {

class DraftDetailsStore;
class SettingsStore;

// What the "record each reply" and "save to disk" switches do, wherever the user flips them (the draft
// details window and the settings window): turning recording off forgets every record, on disk and in
// memory; turning saving off deletes the file but keeps the records shown.
class DraftDetailsSwitches {
public:
    DraftDetailsSwitches(SettingsStore& settings, DraftDetailsStore& store);

    void setShowsDraftDetails(bool on);
    void setSavesDraftDetails(bool on);

    // Called after recording changed, so the listening diagnostics follow it at once.
    std::function<void()> refreshListeningDebug = [] {};
    // Called when recording was turned on: brings the draft details window forward.
    std::function<void()> showDraftDetails = [] {};

private:
    SettingsStore& settings_;
    DraftDetailsStore& store_;
};

} // namespace lumeno
