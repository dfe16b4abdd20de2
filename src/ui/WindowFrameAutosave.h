#pragma once

#include <QObject>
#include <QRect>

#include <optional>

class QWidget;

namespace lumeno {

class DefaultsStore;
class Scheduler;
class ScreenInfo;

// Keeps a window's frame in the defaults store under a key, so the window reopens where the user left it.
// place() puts back a saved frame that is still on a screen (grown to the window's minimum size), else centres
// the window on the main screen. Moves and resizes come in bursts: the frame is written once a burst is over,
// and at once when the window is hidden or destroyed.
class WindowFrameAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr double saveDelay = 0.5;

    WindowFrameAutosave(QWidget& window, QString key, DefaultsStore& defaults, const ScreenInfo& screens,
                        Scheduler& scheduler);
    ~WindowFrameAutosave() override;

    void place();
    std::optional<QRect> saved() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOnAScreen(const QRect& frame) const;
    void saveSoon();
    void savePending();

    QWidget& window_;
    QString key_;
    DefaultsStore& defaults_;
    const ScreenInfo& screens_;
    Scheduler& scheduler_;
    std::optional<QRect> unsaved_;
    std::optional<quint64> pendingSave_;
};

} // namespace lumeno
