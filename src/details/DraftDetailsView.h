#pragma once

#include "details/DraftDetails.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QListWidget;
class QStackedWidget;

namespace lumeno {

class DetailsForm;
class DraftDetailsStore;
class DraftDetailsSwitches;
class EmptyStateView;
class KeyboardLayout;
class MemoryStore;
class ReportCopier;
class SettingsStore;

// The draft details window's content: the recording and saving switches, and while recording is on the
// memory pane beside the latest records and the full details of the selected one. A newly recorded draft
// is selected at once, and so is the newest whenever the view is shown.
class DraftDetailsView : public QWidget {
    Q_OBJECT
public:
    struct Services {
        DraftDetailsStore& store;
        SettingsStore& settings;
        MemoryStore& memory;
        DraftDetailsSwitches& switches;
        ReportCopier& copier;
        const KeyboardLayout& keyboard;
    };

    explicit DraftDetailsView(Services services, QWidget* parent = nullptr);

    // The record shown: the selected one, else the newest; none when there are no records.
    std::optional<DraftDetails> current() const;

signals:
    // "Open Settings": the settings window on its General tab.
    void settingsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildControlBar();
    QWidget* buildRecordsPage();
    void refreshSwitches();
    void refreshRecords();
    void showCurrent();

    Services services_;
    std::optional<QUuid> selection_;
    std::optional<QUuid> newestShown_;
    QCheckBox* record_ = nullptr;
    QCheckBox* save_ = nullptr;
    QStackedWidget* content_ = nullptr;
    QStackedWidget* records_ = nullptr;
    EmptyStateView* noRecords_ = nullptr;
    QListWidget* list_ = nullptr;
    DetailsForm* form_ = nullptr;
};

} // namespace lumeno
