#include "DetailsTestSupport.h"

#include "details/DetailsForm.h"
#include "details/DraftDetailsStore.h"
#include "details/DraftDetailsSwitches.h"
#include "details/DraftDetailsWindow.h"
#include "platform/fake/FakeScreenInfo.h"
#include "details/LongText.h"
#include "details/RecordDateFormat.h"
#include "details/ReportCopier.h"
#include "foundation/KeyboardLayout.h"
#include "foundation/SettingsStore.h"
#include "memory/MemoryStore.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/fake/FakeWorkspace.h"
#include "screen/ContextPacker.h"
#include "support/ManualScheduler.h"
#include "testsupport/Screenshots.h"
#include "ui/WrappingText.h"

#include <QCoroTask>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace lumeno {
namespace {

using testing::bareRecord;
using testing::fullRecord;
using testing::utc;

// What the user reads in a widget, top to bottom: row labels and values, section headers, block titles
// (with "+" when open, "-" when closed) and plain lines, skipping anything hidden.
QStringList readout(QWidget& root) {
    QStringList lines;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root))
            continue;
        if (auto* block = qobject_cast<LongText*>(widget))
            lines << (block->isExpanded() ? "+ " : "- ") + block->title();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            lines << label->text();
        else if (auto* value = qobject_cast<WrappingText*>(widget); value && value->objectName() != "longTextBody")
            lines << value->text();
    }
    return lines;
}

LongText* block(QWidget& root, const QString& title) {
    for (LongText* found : root.findChildren<LongText*>())
        if (found->title() == title)
            return found;
    return nullptr;
}

class DraftDetailsWindowTest : public ::testing::Test {
protected:
    DraftDetailsWindowTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        settings.setShowsDraftDetails(true);
        QObject::connect(&switches, &DraftDetailsSwitches::draftDetailsWanted, [this] { ++windowFronted; });
        // The listening diagnostics read the setting, so they must be refreshed after it changed.
        QObject::connect(&switches, &DraftDetailsSwitches::recordingSwitched,
                         [this] { diagnosticsSawRecording.push_back(settings.showsDraftDetails()); });
    }
    ~DraftDetailsWindowTest() override { QLocale::setDefault(QLocale::c()); }

    DraftDetailsWindow& window() {
        if (!window_) {
            window_ = std::make_unique<DraftDetailsWindow>(
                DraftDetailsView::Services{store, settings, memory, switches, copier, keyboard}, defaults, screens,
                scheduler);
            QObject::connect(&window_->view(), &DraftDetailsView::settingsRequested, [this] { ++settingsOpened; });
            window_->front();
        }
        return *window_;
    }

    template <typename T>
    T* child(const char* name) {
        T* found = window().findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    void look(const QString& name) {
        QCoreApplication::processEvents();
        screenshots::save(screenshots::onDesktop(window()), name);
    }


    QTemporaryDir folder;
    ManualClock clock{utc(2026, 3, 2, 9, 0)};
    ManualScheduler scheduler{clock};
    FakeDefaultsStore defaults;
    FakeScreenInfo screens;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    MemoryStore memory{folder.filePath("memory.json"), clock};
    DraftDetailsStore store{folder.filePath("draft-details.jsonl"), clock};
    FakeWorkspace workspace;
    FakeDesktop desktop{workspace, &clock};
    FakePasteboard pasteboard{desktop};
    ContextPacker packer{pasteboard, clock, scheduler};
    FakeKeyboardLayoutSource layoutSource;
    KeyboardLayout keyboard{layoutSource};
    DraftDetailsSwitches switches{settings, store};
    ReportCopier copier{pasteboard, packer};
    std::unique_ptr<DraftDetailsWindow> window_;
    int windowFronted = 0;
    int settingsOpened = 0;
    std::vector<bool> diagnosticsSawRecording;
};

// --- The window and its switches -------------------------------------------------------------------------

TEST_F(DraftDetailsWindowTest, RecordingOffShowsDebugIsOffWithAWayToSettings) {
    settings.setShowsDraftDetails(false);
    EXPECT_FALSE(child<QCheckBox>("recordEachReply")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("saveToDisk")->isVisible());
    QWidget* off = child<QWidget>("debugOff");
    EXPECT_TRUE(off->isVisible());
    EXPECT_TRUE(readout(*off).contains("Turn on Record each reply to see what each draft used."));
    EXPECT_FALSE(child<QWidget>("memoryPane")->isVisible());
    look("draft-details-off");
    QTest::mouseClick(child<QPushButton>("openSettings"), Qt::LeftButton);
    EXPECT_EQ(settingsOpened, 1);
}

TEST_F(DraftDetailsWindowTest, SwitchingRecordingOffForgetsEverythingAndOnBringsTheWindowForward) {
    settings.setSavesDraftDetails(true);
    store.record(fullRecord(), true);
    store.finishDiskWork();
    ASSERT_TRUE(QFile::exists(store.filePath()));
    QCheckBox* save = child<QCheckBox>("saveToDisk");
    EXPECT_TRUE(save->isVisible());
    EXPECT_TRUE(save->isChecked());

    QTest::mouseClick(child<QCheckBox>("recordEachReply"), Qt::LeftButton);
    EXPECT_FALSE(settings.showsDraftDetails());
    EXPECT_FALSE(settings.savesDraftDetails());
    store.finishDiskWork();
    EXPECT_FALSE(QFile::exists(store.filePath()));
    EXPECT_TRUE(store.sessions().isEmpty());
    EXPECT_FALSE(save->isVisible());
    EXPECT_TRUE(child<QWidget>("debugOff")->isVisible());
    EXPECT_EQ(windowFronted, 0);

    QTest::mouseClick(child<QCheckBox>("recordEachReply"), Qt::LeftButton);
    EXPECT_TRUE(settings.showsDraftDetails());
    EXPECT_EQ(windowFronted, 1);
    EXPECT_TRUE(save->isVisible());
    EXPECT_FALSE(save->isChecked());
    EXPECT_TRUE(child<QWidget>("noRecords")->isVisible());
    EXPECT_EQ(diagnosticsSawRecording, std::vector<bool>({false, true}));
}

TEST_F(DraftDetailsWindowTest, SwitchingSavingOffDeletesTheFileButKeepsTheList) {
    settings.setSavesDraftDetails(true);
    store.record(fullRecord(), true);
    QTest::mouseClick(child<QCheckBox>("saveToDisk"), Qt::LeftButton);
    EXPECT_FALSE(settings.savesDraftDetails());
    store.finishDiskWork();
    EXPECT_FALSE(QFile::exists(store.filePath()));
    EXPECT_FALSE(store.hasSavedFile());
    EXPECT_EQ(child<QListWidget>("records")->count(), 1);
}

// --- The records -----------------------------------------------------------------------------------------

TEST_F(DraftDetailsWindowTest, WithNoRecordsTheHintNamesTheHotKeyBesideTheMemory) {
    EXPECT_TRUE(child<QWidget>("memoryPane")->isVisible());
    QWidget* empty = child<QWidget>("noRecords");
    EXPECT_TRUE(empty->isVisible());
    EXPECT_TRUE(readout(*empty).contains("No reply recorded yet"));
    EXPECT_TRUE(readout(*empty).contains("Hold Right Alt and speak."));
    look("draft-details-empty");
}

TEST_F(DraftDetailsWindowTest, ANewRecordTakesTheSelectionAndARowClickShowsAnother) {
    DraftDetails older = fullRecord(utc(2026, 3, 2, 8, 30));
    DraftDetails bare = bareRecord(DraftDetails::Kind::edit, utc(2026, 3, 2, 8, 45));
    store.record(older, false);
    store.record(bare, false);
    QListWidget* list = child<QListWidget>("records");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->height(), 120);
    EXPECT_LT(list->geometry().bottom(), child<DetailsForm>("detailsForm")->geometry().top()) << "the list stands above";
    // The edit has no field and no outcome: an empty app name, the time alone.
    EXPECT_EQ(readout(*list->itemWidget(list->item(0))), QStringList({"Edit", "", RecordDateFormat::shortTime(bare.date)}));
    EXPECT_EQ(readout(*list->itemWidget(list->item(1))), QStringList({"Reply", "Mail", RecordDateFormat::shortTime(older.date) + " · Inserted"}));
    EXPECT_EQ(window().view().current()->id, bare.id);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(window().view().current()->id, older.id);
    EXPECT_EQ(child<DetailsForm>("detailsForm")->details().id, older.id);
    look("draft-details-full-record");

    const DraftDetails newest = bareRecord(DraftDetails::Kind::reply, utc(2026, 3, 2, 9, 0));
    store.record(newest, false);
    EXPECT_EQ(window().view().current()->id, newest.id);
    EXPECT_EQ(list->currentRow(), 0);
}

TEST_F(DraftDetailsWindowTest, ShowingTheWindowAgainSelectsTheNewestRecord) {
    const DraftDetails older = fullRecord(utc(2026, 3, 2, 8, 30));
    const DraftDetails newest = fullRecord(utc(2026, 3, 2, 8, 45));
    store.record(older, false);
    store.record(newest, false);
    QListWidget* list = child<QListWidget>("records");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(window().view().current()->id, older.id);

    // Closed and opened again with no new draft in between: the newest is shown, not the one clicked.
    window().close();
    window().front();
    EXPECT_EQ(window().view().current()->id, newest.id);
    EXPECT_EQ(child<DetailsForm>("detailsForm")->details().id, newest.id);
    EXPECT_EQ(list->currentRow(), 0);
    look("draft-details-reopened-on-newest");
}

TEST_F(DraftDetailsWindowTest, AnAmendedRecordKeepsTheBlocksTheUserOpenedOrClosed) {
    const DraftDetails details = fullRecord();
    store.record(details, false);
    auto* form = child<DetailsForm>("detailsForm");
    auto click = [&](const QString& title) {
        QTest::mouseClick(block(*form, title)->findChild<QWidget*>("disclosure"), Qt::LeftButton);
    };
    click("System prompt");   // starts closed
    click("Dictation");       // starts open
    ASSERT_TRUE(block(*form, "System prompt")->isExpanded());
    ASSERT_FALSE(block(*form, "Dictation")->isExpanded());

    // The loop writes a later fate into the record on screen.
    store.update(details.id, false, [](DraftDetails& amended) { amended.outcome = "Copied instead of inserted"; });
    ASSERT_TRUE(readout(*form).contains("Copied instead of inserted"));
    EXPECT_TRUE(block(*form, "System prompt")->isExpanded());
    EXPECT_FALSE(block(*form, "Dictation")->isExpanded());
    EXPECT_FALSE(block(*form, "User prompt")->isExpanded()) << "untouched blocks keep their starting state";
    EXPECT_TRUE(block(*form, "What was sent")->isExpanded());
    look("draft-details-amended-keeps-blocks");

    // Another record starts its blocks afresh.
    store.record(fullRecord(utc(2026, 3, 2, 9, 0)), false);
    EXPECT_FALSE(block(*form, "System prompt")->isExpanded());
    EXPECT_TRUE(block(*form, "Dictation")->isExpanded());
}

TEST_F(DraftDetailsWindowTest, CopyAsTextReplacesTheClipboardAndIsNotTakenForTheUsersCopy) {
    packer.start();
    desktop.userCopies(PasteboardContents::plain("something the user copied earlier"));
    scheduler.advance(ContextPacker::watchInterval);
    ASSERT_TRUE(QCoro::waitFor(packer.pack(std::nullopt, std::nullopt))); // the user's copy counts as context

    const DraftDetails details = fullRecord();
    store.record(details, false);
    QTest::mouseClick(child<QPushButton>("copyAsText"), Qt::LeftButton);
    ASSERT_TRUE(desktop.clipboard());
    EXPECT_EQ(desktop.clipboard()->plainText, details.report());
    scheduler.advance(ContextPacker::watchInterval);
    EXPECT_FALSE(QCoro::waitFor(packer.pack(std::nullopt, std::nullopt)));
}

// --- The details form ------------------------------------------------------------------------------------

TEST_F(DraftDetailsWindowTest, ABareReplyShowsWhatItKnewAndTheDateOnly) {
    DetailsForm form;
    form.setDetails(bareRecord(DraftDetails::Kind::reply, utc(2026, 3, 2, 14, 5, 9)));
    const QStringList shown = readout(form);
    EXPECT_EQ(shown.mid(0, 7), QStringList({"What it knew", "Conversation", "Nothing recorded", "Person",
                                            "Nobody matched", "Memory card", "None sent"}));
    EXPECT_EQ(shown.value(7), "Reply");
    EXPECT_EQ(shown.size(), 9);
    EXPECT_FALSE(shown.contains("How the person was chosen"));
    EXPECT_TRUE(form.findChild<QPushButton*>("copyAsText"));
}

TEST_F(DraftDetailsWindowTest, TheFormShowsEveryPartWithBlocksOpenOrClosedAsTheyShouldStart) {
    DetailsForm form;
    form.setDetails(fullRecord());
    EXPECT_TRUE(block(form, "Memory card")->isExpanded());
    EXPECT_TRUE(block(form, "What was sent")->isExpanded());

    DraftDetails details = fullRecord();
    details.recipient->card = QString(); // an empty card is "None sent" above, but still a block below
    details.conversation->levels.reset();
    details.field->windowTitle = QString();
    details.field->webHost = QString();
    form.setDetails(details);
    const QStringList shown = readout(form);
    EXPECT_TRUE(shown.contains("None sent"));
    EXPECT_EQ(block(form, "Memory card sent")->isExpanded(), false);
    EXPECT_TRUE(shown.contains("58 elements, 0 levels up, 37 ms"));
    EXPECT_FALSE(shown.contains("Window title"));
    EXPECT_TRUE(shown.contains("Web page"));
    EXPECT_TRUE(shown.contains("gpt-test, 2.3 s"));
    EXPECT_TRUE(shown.contains("Sam Lee, signs as Sam"));
    EXPECT_TRUE(shown.contains("2 (1 learned, 1 pasted)"));
    EXPECT_FALSE(block(form, "What the model wrote")->isExpanded());
    EXPECT_TRUE(block(form, "After the email layout (what was inserted)")->isExpanded());
    EXPECT_FALSE(block(form, "Sample 2")->isExpanded());
    EXPECT_FALSE(block(form, "System prompt")->isExpanded());
    EXPECT_TRUE(block(form, "Dictation")->isExpanded());

    details.field.reset();
    details.kind = DraftDetails::Kind::edit;
    details.edit = DraftDetails::Edit{EditRequest::Scope::wholeField, "shorter", "Héllo 👋🏽"};
    form.setDetails(details);
    EXPECT_TRUE(block(form, "After the message layout (what was inserted)"));
    EXPECT_TRUE(block(form, "Instruction"));
    EXPECT_FALSE(block(form, "Text it changed (7 characters)")->isExpanded());
    EXPECT_TRUE(readout(form).contains("The whole message in the field"));
    EXPECT_EQ(readout(form).value(readout(form).indexOf("Outcome") - 2), "Edit");

    details.result->finalText = details.result->modelText;
    form.setDetails(details);
    EXPECT_TRUE(block(form, "What the model wrote")->isExpanded());
    EXPECT_FALSE(readout(form).join('|').contains("After the"));
}

TEST_F(DraftDetailsWindowTest, ALongUnbrokenWordWrapsInsideItsRowAndNothingIsCut) {
    const QString address = QStringLiteral("https://mail.example.com/u/0/inbox/FMfcgzGwHfXqZlVbJrTnPqLKkcvSWzGpQRnDtVXxMbHp"
                                           "?compose=CllgCJlKGSmRzXnTPbwCqvDhJQBmGWjRqQcTWmKrXTlPHnbVfDgz");
    DraftDetails details = fullRecord();
    details.field->windowTitle = address;
    details.dictation = QStringLiteral("see ") + address;
    store.record(details, false);
    auto* form = child<DetailsForm>("detailsForm");
    QCoreApplication::processEvents();
    QWidget* content = form->widget();
    EXPECT_LE(content->width(), form->viewport()->width()) << "the form does not widen past its window";
    EXPECT_TRUE(readout(*form).contains(address)) << "shown whole";
    for (auto* value : form->findChildren<WrappingText*>())
        if (value->isVisibleTo(form) && value->text().contains(address)) {
            EXPECT_LE(value->mapTo(content, QPoint(value->width(), 0)).x(), content->width());
            EXPECT_GE(value->height(), value->heightForWidth(value->width())) << "all its lines show";
            EXPECT_GT(value->height(), 2 * value->fontMetrics().height()) << "the address is broken over lines";
            form->ensureWidgetVisible(value);
        }
    look("draft-details-long-address");
}

// --- The memory pane -------------------------------------------------------------------------------------

TEST_F(DraftDetailsWindowTest, TheMemoryPaneListsOpenPromisesAndPinsAndFollowsTheStore) {
    QWidget* pane = child<QWidget>("memoryPane");
    EXPECT_TRUE(readout(*pane).contains("Nothing saved yet. After a reply, a chip can save a person, a promise or "
                                        "a pin. You can also add them from Memory in the tray menu."));

    memory.addCommitment("Old done promise", std::nullopt, std::nullopt);
    memory.setDone(memory.commitments().first().id, true);
    EXPECT_EQ(readout(*pane), QStringList({"Memory"}));

    const Person anna = memory.addPerson("Anna Novak", {"anna@example.com", "@anna"}, "Prefers short mails");
    memory.addCommitment("Send the deck", utc(2026, 3, 6, 12, 0), anna.id);
    memory.addCommitment("Book the room", std::nullopt, anna.id);
    memory.setDone(memory.commitments(anna.id).last().id, true);
    memory.addPin("Budget is 5k", anna.id, std::nullopt);
    memory.addPerson("Bo", {}, "");
    memory.addCommitment("Renew the domain", std::nullopt, std::nullopt);
    memory.addPin("Office closed Fridays", std::nullopt, std::nullopt);
    EXPECT_EQ(readout(*pane),
              QStringList({"Memory", "Anna Novak", "anna@example.com, @anna", "Prefers short mails",
                           "To do: Send the deck", "Pinned: Budget is 5k", "Bo", "Commitments", "Renew the domain",
                           "Pins", "Office closed Fridays"}));
    look("draft-details-memory");
}

} // namespace
} // namespace lumeno
