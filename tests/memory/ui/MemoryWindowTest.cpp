#include "MemoryUiTestSupport.h"

#include "memory/ui/MemoryWindow.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeScreenInfo.h"

namespace lumeno {
namespace {

class MemoryWindowTest : public MemoryUiTest {
protected:
    FakeDefaultsStore defaults;
    FakeScreenInfo screens;
    MemoryWindow window{*memory, defaults, screens, scheduler, std::make_unique<ScriptedExportChooser>()};
};

TEST_F(MemoryWindowTest, OpensCentredAtItsSizeAndClosingKeepsItsState) {
    memory->addCommitment(QStringLiteral("Send the signed contract"), std::nullopt, std::nullopt);
    window.present();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumeno Memory"));
    EXPECT_EQ(window.minimumSize(), QSize(680, 440));
    QRect centred(QPoint(), QSize(760, 540));
    centred.moveCenter(screens.mainScreen()->visibleFrame.center());
    EXPECT_EQ(window.geometry(), centred);
    picture(window, QStringLiteral("memoryui-window"));

    window.view()->setSection(MemoryView::Section::pins);
    window.setGeometry(QRect(200, 100, 800, 560));
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.present();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.view()->section(), MemoryView::Section::pins);
    EXPECT_EQ(window.geometry(), QRect(200, 100, 800, 560));
}

} // namespace
} // namespace lumeno
