// The overlay as it sits on the user's desktop while they speak: nothing of it shows beyond its sheet but
// its shadow, however often the sheet changes its width with the words heard.
#include "e2e/harness/E2eTest.h"
#include "platform/linux/XcbConnection.h"
#include "testsupport/Screenshots.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <set>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

// One look at the pill's right end: where it ends on the screen, how tall it is there, and how much lighter
// than the desktop the lightest pixel just beyond is, where only the desktop and the shadow may show.
struct RightEnd {
    int x = -1;
    int capHeight = 0;
    int beyond = 0;
};

// Under a compositing manager, as on XFCE (xfwm4) and most desktops: the glass sheet with its shadow. One
// is started for the test where the window manager does not composite itself.
class OverlayLook : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        const std::shared_ptr<XcbConnection> x = XcbConnection::open(session().x().display());
        ASSERT_TRUE(x);
        if (!desktop::TestDesktop::hasCompositingManager(*x)) {
            ASSERT_TRUE(session().x().startCompositor()) << session().x().whyNotRunning().toStdString();
            startedCompositor_ = true;
        }
    }
    void TearDown() override {
        if (startedCompositor_)
            session().x().stopCompositor();
    }

    // The rows of the overlay's sheet: its window reaches past it by the shadow's margins above and below.
    std::optional<std::pair<int, int>> sheetRows(qint64 pid) {
        for (const xcb_window_t popup : popupsOf(pid)) {
            const QRect window = geometryOf(popup);
            if (window.bottom() > grabScreen().height() / 2)
                return std::pair{window.top() + 9, window.bottom() - 19};
        }
        return std::nullopt;
    }

    bool startedCompositor_ = false;

    // The pill is the run of columns with light pixels through the middle of the screen; it ends where
    // the run does.
    static RightEnd rightEnd(const QImage& screen, std::pair<int, int> rows) {
        // The desktop's own colour there, far from the pill; the shadow only darkens it.
        int desktop = 0;
        for (int y = rows.first; y <= rows.second; ++y)
            desktop = std::max(desktop, qGray(screen.pixel(screen.width() - 3, y)));
        const auto light = [&](int x) {
            int count = 0;
            for (int y = rows.first; y <= rows.second; ++y)
                count += qGray(screen.pixel(x, y)) > desktop + 60;
            return count;
        };
        RightEnd end;
        for (int x = screen.width() / 2; x < screen.width() && light(x) > 0; ++x)
            end.x = x;
        if (end.x < 0)
            return end;
        end.capHeight = light(end.x);
        // Past the anti-aliased edge and its hairline.
        for (int x = end.x + 3; x <= std::min(end.x + 30, screen.width() - 1); ++x)
            for (int y = rows.first; y <= rows.second; ++y)
                end.beyond = std::max(end.beyond, qGray(screen.pixel(x, y)) - desktop);
        return end;
    }
};

TEST_F(OverlayLook, NothingShowsBesideTheRightEndOfTheListeningPillWhileItChangesWidth) {
    becomeReturningUser();
    server.setDraftAnswer(200, QJsonDocument(QJsonObject{{"text", "Fine."}, {"model", "m"}}).toJson(QJsonDocument::Compact));
    auto lumeno =
        launch(spoken(QStringLiteral("Tell Bo Thursday at noon works for me and the café on Main Street is fine")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    user.tap(DesktopUser::rightAlt);
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Listening (hands-free, reply)"))) << lumeno->log().toStdString();
    // Every look while the words come in and the pill widens and narrows with them; the worst is kept.
    QImage worst;
    RightEnd worstEnd;
    std::pair<int, int> worstRows;
    int looks = 0, squareEnds = 0;
    std::set<int> ends;
    waitUntil([&] {
        const std::optional<std::pair<int, int>> rows = sheetRows(lumeno->pid());
        if (rows) {
            const QImage screen = grabScreen();
            const RightEnd end = rightEnd(screen, *rows);
            const int height = rows->second - rows->first + 1;
            // A rounded end is less than half as tall at its last column as the pill.
            const bool square = end.capHeight * 2 > height;
            if (end.x >= 0) {
                ++looks;
                squareEnds += square;
                ends.insert(end.x);
                if (worst.isNull() || end.beyond > worstEnd.beyond || (square && worstEnd.capHeight * 2 <= height)) {
                    worst = screen;
                    worstEnd = end;
                    worstRows = *rows;
                }
            }
        }
        return lumeno->log().contains(QStringLiteral("The audio file has played to its end"));
    });
    ASSERT_GT(looks, 0) << "the pill never showed\n" << lumeno->log().toStdString();
    ASSERT_GT(ends.size(), 3u) << "the pill hardly changed its width: nothing was tried";
    // The right end, four times as large, as the user would look at it.
    const QRect corner(worstEnd.x - 60, worstRows.first - 12, 90, worstRows.second - worstRows.first + 30);
    screenshots::save(worst.copy(corner).scaled(corner.size() * 4), QStringLiteral("e2e-pill-right-end-worst"));
    EXPECT_LE(worstEnd.beyond, 16) << "something light beside the pill's right end, the worst of " << looks
                                   << " looks at " << ends.size() << " widths";
    EXPECT_EQ(squareEnds, 0) << "the pill was cut off square";

    // And once the words have stopped coming.
    screenshotOnceStill(QStringLiteral("listening"));
    const std::optional<std::pair<int, int>> rows = sheetRows(lumeno->pid());
    ASSERT_TRUE(rows);
    const QImage screen = grabScreen();
    const RightEnd still = rightEnd(screen, *rows);
    const QRect stillCorner(still.x - 60, rows->first - 12, 90, rows->second - rows->first + 30);
    screenshots::save(screen.copy(stillCorner).scaled(stillCorner.size() * 4), QStringLiteral("e2e-pill-right-end"));
    EXPECT_LE(still.beyond, 16);
    user.tap(DesktopUser::escape);
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Cancelled"))) << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
