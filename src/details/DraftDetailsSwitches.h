#pragma once

#include <QObject>

namespace lumeno {

class DraftDetailsStore;
class SettingsStore;

// What the "record each reply" and "save to disk" switches do, wherever the user flips them (the draft
// details window and the settings window): turning recording off forgets every record, on disk and in
// memory; turning saving off deletes the file but keeps the records shown.
class DraftDetailsSwitches : public QObject {
    Q_OBJECT
public:
    DraftDetailsSwitches(SettingsStore& settings, DraftDetailsStore& store, QObject* parent = nullptr);

    void setShowsDraftDetails(bool on);
    void setSavesDraftDetails(bool on);

signals:
    // Recording was switched, so the listening diagnostics can follow it at once.
    void recordingSwitched();
    // Recording was turned on: the draft details window comes forward.
    void draftDetailsWanted();

private:
    SettingsStore& settings_;
    DraftDetailsStore& store_;
};

} // namespace lumeno
