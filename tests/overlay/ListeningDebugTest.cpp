#include "overlay/ListeningDebug.h"

#include "overlay/OverlayPanel.h"
#include "overlay/OverlayTestSupport.h"

#include <QPlainTextEdit>
#include <QSignalSpy>

namespace lumeno {
namespace {

class ListeningDebugTest : public testing::OverlayTest {
protected:
    ListeningDebug debug{screens, hints};

    OverlayPanel* panel() { return qobject_cast<OverlayPanel*>(testing::window("listeningDebugPanel")); }
};

TEST_F(ListeningDebugTest, HidingBeforeAnyShowDoesNothing) {
    debug.hide();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_FALSE(debug.isVisible());
    EXPECT_EQ(debug.model().person(), "No person");
    EXPECT_EQ(debug.model().thread(), "Reading…");
}

TEST_F(ListeningDebugTest, ShowsTheThreeTextsAtTheTopCentreOfTheScreen) {
    debug.show("Anna Berg (from the To field)", "Anna: Are you free Thursday at 3?", "Clipboard: none");
    ASSERT_NE(panel(), nullptr);
    EXPECT_TRUE(debug.isVisible());
    EXPECT_EQ(panel()->findChild<QPlainTextEdit*>("personBlock")->toPlainText(), "Anna Berg (from the To field)");
    EXPECT_EQ(panel()->findChild<QPlainTextEdit*>("threadBlock")->toPlainText(), "Anna: Are you free Thursday at 3?");
    EXPECT_EQ(panel()->findChild<QPlainTextEdit*>("otherBlock")->toPlainText(), "Clipboard: none");
    // 1440 × 875 visible below a 25-point bar: 460 wide, 367.5 high, 10 below the bar.
    EXPECT_EQ(panel()->sheetGeometry(), QRect(490, 35, 460, 368));
}

TEST_F(ListeningDebugTest, ShowingTheSameTextsAgainTellsNobody) {
    debug.show("Anna", "thread", "");
    QSignalSpy person(&debug.model(), &ListeningDebugModel::personChanged);
    QSignalSpy thread(&debug.model(), &ListeningDebugModel::threadChanged);
    QSignalSpy other(&debug.model(), &ListeningDebugModel::otherChanged);
    debug.show("Anna", "thread", "");
    EXPECT_EQ(person.count() + thread.count() + other.count(), 0);
    debug.hide();
    EXPECT_FALSE(debug.isVisible());
    EXPECT_EQ(debug.model().person(), "Anna");
}

} // namespace
} // namespace lumeno
