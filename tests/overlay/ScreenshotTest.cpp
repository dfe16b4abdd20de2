#include "overlay/CaptureOverlay.h"
#include "overlay/ListeningDebug.h"
#include "overlay/OverlayPanel.h"
#include "overlay/OverlayTestSupport.h"
#include "testsupport/Screenshots.h"

#include <QPlainTextEdit>

namespace lumeno {
namespace {

// Pictures of every phase as the user sees it, over a plain desktop, to look at.
class ScreenshotTest : public testing::OverlayTest {
protected:
    CaptureOverlay overlay{scheduler, clock, screens, hints};
    OverlayModel& model = overlay.model();

    QImage shoot(OverlayPhase phase, const QString& name) {
        overlay.show(phase);
        settle();
        scheduler.advance(0.2); // let the level bars glide into place
        overlay.relayout();
        settle();
        auto* panel = qobject_cast<OverlayPanel*>(testing::window("captureOverlayPanel"));
        const QImage image = screenshots::onDesktop(*panel);
        screenshots::save(image, name);
        checkLooksLikeAFloatingSheet(*panel, image);
        return image;
    }

    // The sheet is the light glass colour and casts a shadow onto the desktop below it.
    static void checkLooksLikeAFloatingSheet(OverlayPanel& panel, const QImage& image) {
        const int margin = 24;
        const QRect sheet(panel.mapFromGlobal(panel.sheetGeometry().topLeft()) + QPoint(margin, margin),
                          panel.sheetGeometry().size());
        const qreal dpr = image.devicePixelRatio();
        const QColor inside = image.pixelColor((sheet.topLeft() + QPoint(6, sheet.height() / 2)) * dpr);
        EXPECT_GT(inside.lightness(), 235);
        const QColor desktop = image.pixelColor(QPoint(2, 2) * dpr);
        const QColor below = image.pixelColor(QPoint(sheet.center().x(), sheet.bottom() + 5) * dpr);
        EXPECT_LT(below.lightness(), desktop.lightness() - 8);
    }
};

TEST_F(ScreenshotTest, ListeningHandsFreeWithATranscript) {
    model.setHandsFree(true);
    model.setContextBadge(QStringLiteral("Conversation"));
    model.setPersonBadge(QStringLiteral("Anna"));
    model.setPersonChoices({{QUuid::createUuid(), "Anna Berg"}, {QUuid::createUuid(), "Anna Lind"}});
    model.setTranscript("tell her Thursday at three works and I'll bring the signed contract");
    model.setLevel(0.62f);
    shoot(OverlayPhase::listening, "overlay-listening");
}

TEST_F(ScreenshotTest, ListeningToAnEditBeforeAnyWords) {
    model.setIsEditing(true);
    model.setHandsFree(true);
    model.setEditTarget(QStringLiteral("Selection"));
    model.setLevel(0.2f);
    shoot(OverlayPhase::listening, "overlay-listening-edit");
}

TEST_F(ScreenshotTest, DraftingWithBadges) {
    model.setTranscript("say yes, Thursday works, and ask if she wants the slides before");
    model.setContextBadge(QStringLiteral("Conversation"));
    model.setContextEnabled(false);
    model.setPersonBadge(QStringLiteral("Anna"));
    shoot(OverlayPhase::drafting, "overlay-drafting");
}

TEST_F(ScreenshotTest, InsertedWithThreeOffersOneSaved) {
    const SaveOffer saved = SaveOffer::person("Anna Berg", QStringLiteral("anna@example.com"));
    model.setOffers({SaveOffer::commitment("Send Anna the signed contract before the meeting on Thursday",
                                           QDateTime(QDate(2026, 3, 5), QTime(9, 0), Qt::UTC), std::nullopt),
                     saved, SaveOffer::pin("Prefers calls after lunch", std::nullopt, std::nullopt)});
    model.setSavedOffers({saved.id});
    model.setShowsDetailsButton(true);
    shoot(OverlayPhase::inserted, "overlay-inserted-offers");
}

TEST_F(ScreenshotTest, InsertedAfterAnEdit) {
    model.setInsertedNote(QStringLiteral("Edited. Ctrl+Z undoes it."));
    model.setEditedOriginal(QStringLiteral("Yes, Thursday works."));
    shoot(OverlayPhase::inserted, "overlay-inserted-edit");
}

TEST_F(ScreenshotTest, PendingDraft) {
    model.setPendingDraft("Hi Anna,\n\nThursday at 3 works for me. I'll bring the signed contract, and the "
                          "slides if you'd like to look at them first.\n\nBest,\nSam");
    model.setShowsDetailsButton(true);
    shoot(OverlayPhase::pending, "overlay-pending");
}

TEST_F(ScreenshotTest, AnErrorWithAnAction) {
    model.setMessage(OverlayMessage{OverlayMessage::Kind::error, "Lumeno can't read other apps yet",
                                    QStringLiteral("Allow Accessibility so Lumeno can read the field and paste the reply."),
                                    OverlayAction::fixPermission(PermissionsGate::Permission::accessibility)});
    shoot(OverlayPhase::message, "overlay-message-error");
}

TEST_F(ScreenshotTest, ANoticeWithoutAction) {
    model.setMessage(OverlayMessage{OverlayMessage::Kind::notice, "Lumeno is back on",
                                    QStringLiteral("Hold Right Alt to reply."), std::nullopt});
    shoot(OverlayPhase::message, "overlay-message-notice");
}

TEST_F(ScreenshotTest, ListeningDebugPanel) {
    ListeningDebug debug(screens, hints);
    debug.show("Anna Berg <anna@example.com>\nfrom the To field; notes: prefers calls after lunch",
               "Anna Berg, 09:12\nAre you free Thursday at 3? I could also do Friday morning.\n\nYou, 09:20\nLet me "
               "check and get back to you.",
               "Selection: none\nClipboard: none");
    auto* panel = qobject_cast<OverlayPanel*>(testing::window("listeningDebugPanel"));
    settle();
    // Short blocks keep to their lines and the thread takes the rest.
    const int person = panel->findChild<QPlainTextEdit*>("personBlock")->height();
    EXPECT_LT(person, 88);
    EXPECT_GT(panel->findChild<QPlainTextEdit*>("threadBlock")->height(), 2 * person);
    const QImage image = screenshots::onDesktop(*panel);
    EXPECT_TRUE(QFile::exists(screenshots::save(image, "overlay-listening-debug")));
}

} // namespace
} // namespace lumeno
