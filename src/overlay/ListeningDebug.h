#pragma once

#include "overlay/ListeningDebugModel.h"

#include <QObject>

#include <memory>

namespace lumeno {

class OverlayPanel;
class PanelWindowHints;
class ScreenInfo;

// While the user dictates with draft details on: a panel at the top centre of the screen under the pointer
// showing what the reply will be built from. Built without a window; the panel comes with the first show.
class ListeningDebug : public QObject {
    Q_OBJECT
public:
    ListeningDebug(ScreenInfo& screens, PanelWindowHints& hints, QObject* parent = nullptr);
    ~ListeningDebug() override;

    const ListeningDebugModel& model() const { return model_; }

    // Shows the panel, or updates it, with these texts.
    void show(const QString& person, const QString& thread, const QString& other);
    // Orders the panel out; the texts stay.
    void hide();
    bool isVisible() const;

private:
    OverlayPanel& ensurePanel();
    void layout(OverlayPanel& panel);

    ListeningDebugModel model_;
    ScreenInfo& screens_;
    PanelWindowHints& hints_;
    std::unique_ptr<OverlayPanel> panel_;
};

} // namespace lumeno
