// The built program meets a new user on a whole desktop: it starts, greets them with its guide, and ends
// cleanly when the session ends it.
#include "e2e/harness/E2eTest.h"

namespace lumeno::e2e {

namespace {

class Smoke : public E2eTest {};

TEST_F(Smoke, ANewUserIsGreetedByTheGuideAndTheSessionCanEndTheProgram) {
    auto lumeno = launch(spoken(QStringLiteral("Thursday works for me")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    const std::optional<xcb_window_t> guide = waitForWindow(lumeno->pid(), QStringLiteral("Lumeno"));
    ASSERT_TRUE(guide) << "the first-run guide never showed\n" << lumeno->log().toStdString();
    screenshotOnceDrawn(*guide, QStringLiteral("guide"));

    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
