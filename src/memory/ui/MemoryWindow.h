#pragma once

#include <QWidget>

#include <memory>

namespace lumeno {

class DefaultsStore;
class ExportLocationChooser;
class MemoryStore;
class MemoryView;
class Scheduler;
class ScreenInfo;
class WindowFrameAutosave;

// The "Lumeno Memory" window around one MemoryView. Built once and kept when closed, so the section, the
// search and the chosen person are still there when it comes back. Its place and size are kept in the
// defaults under "LumenoMemory"; without a saved frame it opens centred on the main screen.
class MemoryWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize{760, 540};
    static constexpr QSize minimumContentSize{680, 440};
    static inline const QString frameKey = QStringLiteral("LumenoMemory");

    // `exportChooser` asks where an export goes; by default a save dialog.
    MemoryWindow(MemoryStore& memory, DefaultsStore& defaults, const ScreenInfo& screens, Scheduler& scheduler,
                 std::unique_ptr<ExportLocationChooser> exportChooser = nullptr);
    ~MemoryWindow() override;

    MemoryView* view() const { return view_; }
    // Shows the window in front and gives it the keyboard, also when another application is frontmost.
    void present();

private:
    std::unique_ptr<ExportLocationChooser> exportChooser_;
    MemoryView* view_;
    WindowFrameAutosave* frame_;
    bool placed_ = false;
};

} // namespace lumeno
