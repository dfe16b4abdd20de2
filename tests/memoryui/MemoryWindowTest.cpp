#include "MemoryUiTestSupport.h"

#include "memory/ui/MemoryWindow.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeScreenInfo.h"
#include "support/ManualScheduler.h"

#include <QJsonObject>

namespace lumeno {
namespace {

class MemoryWindowTest : public MemoryUiTest {
protected:
    std::unique_ptr<MemoryWindow> makeWindow() {
        auto chooser = std::make_unique<ScriptedExportChooser>();
        return std::make_unique<MemoryWindow>(*memory, defaults, screens, scheduler, std::move(chooser));
    }

    std::optional<QRect> savedFrame() const {
        const std::optional<QJsonValue> value = defaults.get(MemoryWindow::frameKey);
        if (!value)
            return std::nullopt;
        const QJsonObject frame = value->toObject();
        return QRect(frame[QStringLiteral("x")].toInt(), frame[QStringLiteral("y")].toInt(),
                     frame[QStringLiteral("width")].toInt(), frame[QStringLiteral("height")].toInt());
    }

    QRect centred() const {
        QRect frame(QPoint(), QSize(760, 540));
        frame.moveCenter(screens.mainScreen()->visibleFrame.center());
        return frame;
    }

    FakeDefaultsStore defaults;
    FakeScreenInfo screens;
    ManualScheduler scheduler{clock};
};

TEST_F(MemoryWindowTest, OpensCentredAtItsSizeWithTitleAndMinimum) {
    memory->addCommitment(QStringLiteral("Send the signed contract"), std::nullopt, std::nullopt);
    auto window = makeWindow();
    window->present();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Lumeno Memory"));
    EXPECT_EQ(window->size(), QSize(760, 540));
    EXPECT_EQ(window->minimumSize(), QSize(680, 440));
    EXPECT_EQ(window->geometry(), centred());
    EXPECT_TRUE(window->isVisible());
    picture(*window, QStringLiteral("memoryui-window"));
}

TEST_F(MemoryWindowTest, FrameIsSavedAfterMovingAndRestoredNextRun) {
    {
        auto window = makeWindow();
        window->present();
        window->setGeometry(QRect(100, 120, 900, 600));
        EXPECT_EQ(savedFrame(), std::nullopt); // a burst of moves is written once it is over
        scheduler.advance(1);
        EXPECT_EQ(savedFrame(), QRect(100, 120, 900, 600));
    }
    auto next = makeWindow();
    next->present();
    EXPECT_EQ(next->geometry(), QRect(100, 120, 900, 600));
}

TEST_F(MemoryWindowTest, FrameOffEveryScreenOrTooSmallIsNotTrusted) {
    defaults.set(MemoryWindow::frameKey, QJsonObject{{QStringLiteral("x"), 5000}, {QStringLiteral("y"), 4000},
                                                     {QStringLiteral("width"), 800}, {QStringLiteral("height"), 600}});
    auto window = makeWindow();
    window->present();
    EXPECT_EQ(window->geometry(), centred());

    defaults.set(MemoryWindow::frameKey, QJsonObject{{QStringLiteral("x"), 40}, {QStringLiteral("y"), 60},
                                                     {QStringLiteral("width"), 300}, {QStringLiteral("height"), 200}});
    auto small = makeWindow();
    small->present();
    EXPECT_EQ(small->geometry(), QRect(40, 60, 680, 440));
}

TEST_F(MemoryWindowTest, ClosingKeepsTheWindowAndItsState) {
    auto window = makeWindow();
    window->present();
    window->view()->setSection(MemoryView::Section::pins);
    window->setGeometry(QRect(200, 100, 800, 560));
    window->close();
    EXPECT_EQ(savedFrame(), QRect(200, 100, 800, 560));
    EXPECT_FALSE(window->isVisible());
    window->present();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->view()->section(), MemoryView::Section::pins);
    EXPECT_EQ(window->geometry(), QRect(200, 100, 800, 560));
}

TEST_F(MemoryWindowTest, ComingBackRestoresAMinimizedWindowButKeepsItMaximized) {
    auto window = makeWindow();
    window->present();
    window->setWindowState(Qt::WindowMaximized);
    window->close();
    window->present();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);

    window->setWindowState(Qt::WindowMinimized);
    window->present();
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace lumeno
