#include "MemoryUiTestSupport.h"

#include "memory/ui/CommitmentList.h"
#include "memory/ui/PeoplePane.h"
#include "memory/ui/PinList.h"
#include "memory/ui/RecordTextField.h"
#include "memory/ui/SegmentedPicker.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <sys/stat.h>

namespace lumeno {
namespace {

class MemoryViewTest : public MemoryUiTest {
protected:
    // Maya with two open commitments and one done, Jonas with a pin, and a pin about nobody.
    void fillMemory() {
        maya = memory->addPerson(QStringLiteral("Maya Lindqvist"), {QStringLiteral("maya@northwind.se")},
                                 QStringLiteral("Prefers short e-mails"));
        jonas = memory->addPerson(QStringLiteral("Jonas Berg"), {}, QString());
        memory->addCommitment(QStringLiteral("Send the signed contract"), local(2026, 3, 6, 17), maya.id);
        memory->addCommitment(QStringLiteral("Book the meeting room"), std::nullopt, maya.id);
        memory->addCommitment(QStringLiteral("Share the slides"), std::nullopt, jonas.id);
        memory->setDone(memory->commitments().last().id, true);
        memory->addPin(QStringLiteral("Jonas is vegetarian"), jonas.id, QStringLiteral("Team dinner - Mail"));
        memory->addPin(QStringLiteral("Invoices go to finance@northwind.se"), std::nullopt, std::nullopt);
    }

    // The People section with Maya's card open.
    PeoplePane* showMaya(MemoryView& view) {
        view.setSection(MemoryView::Section::people);
        auto* people = child<PeoplePane>(view, "peoplePane");
        people->setSelection(maya.id);
        return people;
    }

    QStringList segments(const MemoryView& view) { return child<SegmentedPicker>(view, "section")->segments(); }

    void search(MemoryView& view, const QString& text) { child<QLineEdit>(view, "search")->setText(text); }

    // The click hands the file to the disk's worker and returns at once; the outcome comes a moment later.
    void exportAndWait(MemoryView& view) {
        log->clear();
        QTest::mouseClick(child<QPushButton>(view, "export"), Qt::LeftButton);
        EXPECT_TRUE(log->lines().isEmpty()) << "the export was written on the event loop";
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return log->contains(QStringLiteral("Memory exported")) || view.findChild<QMessageBox*>();
        }));
    }

    QMessageBox* openWipe(MemoryView& view) {
        QTest::mouseClick(child<QPushButton>(view, "wipeAll"), Qt::LeftButton);
        return view.findChild<QMessageBox*>(QStringLiteral("confirmWipe"));
    }

    Person maya;
    Person jonas;
};

TEST_F(MemoryViewTest, EmptyMemoryShowsZeroCountsAndCannotBeWiped) {
    auto view = openView();
    EXPECT_EQ(segments(*view),
              (QStringList{QStringLiteral("Commitments (0)"), QStringLiteral("People (0)"), QStringLiteral("Pins (0)")}));
    EXPECT_FALSE(child<QPushButton>(*view, "wipeAll")->isEnabled());
    auto* commitments = child<CommitmentList>(*view, "commitmentList");
    EXPECT_TRUE(commitments->showsEmptyPanel());
    EXPECT_EQ(commitments->emptyPanel()->content().title, QStringLiteral("No commitments"));
    EXPECT_TRUE(child<QLabel>(*view, "storedWhere")->text().endsWith(QStringLiteral("memory.json.")));
    EXPECT_EQ(child<QLabel>(*view, "storedWhere")->textFormat(), Qt::PlainText) << "a folder name is no markup";
    picture(*view, QStringLiteral("memoryui-empty-commitments"));
    view->setSection(MemoryView::Section::pins);
    picture(*view, QStringLiteral("memoryui-empty-pins"));
}

TEST_F(MemoryViewTest, CountsFollowTheQueryAndLeaveOutDoneCommitments) {
    fillMemory();
    auto view = openView();
    EXPECT_EQ(segments(*view),
              (QStringList{QStringLiteral("Commitments (2)"), QStringLiteral("People (2)"), QStringLiteral("Pins (2)")}));
    picture(*view, QStringLiteral("memoryui-commitments"));

    // "jonas" is Jonas's name: his card, his done commitment and his pin (by his name) are found.
    search(*view, QStringLiteral("  JONAS "));
    EXPECT_EQ(segments(*view),
              (QStringList{QStringLiteral("Commitments (0)"), QStringLiteral("People (1)"), QStringLiteral("Pins (1)")}));
    auto* commitments = child<CommitmentList>(*view, "commitmentList");
    ASSERT_EQ(commitments->arrangedRows().size(), 1);
    EXPECT_EQ(static_cast<CommitmentRow*>(commitments->arrangedRows().first())->record().text,
              QStringLiteral("Share the slides"));

    search(*view, QStringLiteral("no such thing"));
    EXPECT_TRUE(commitments->showsEmptyPanel());
    EXPECT_TRUE(child<QPushButton>(*view, "wipeAll")->isEnabled()) << "nothing found, yet the store is full";
    view->setSection(MemoryView::Section::people);
    EXPECT_EQ(child<PeoplePane>(*view, "peoplePane")->emptyPanel()->content().title, QStringLiteral("No people yet"));

    search(*view, QStringLiteral(" \t"));
    EXPECT_EQ(segments(*view).first(), QStringLiteral("Commitments (2)"));
    // Switching sections keeps the query and the section.
    EXPECT_EQ(view->section(), MemoryView::Section::people);
    EXPECT_EQ(view->query(), QStringLiteral(" \t"));
}

TEST_F(MemoryViewTest, ChangesMadeElsewhereRedrawAtOnce) {
    auto view = openView();
    search(*view, QStringLiteral("finance"));
    memory->addPin(QStringLiteral("Invoices go to finance"), std::nullopt, std::nullopt);
    memory->addPin(QStringLiteral("Lunch on Fridays"), std::nullopt, std::nullopt);
    EXPECT_EQ(segments(*view).last(), QStringLiteral("Pins (1)"));
    EXPECT_TRUE(child<QPushButton>(*view, "wipeAll")->isEnabled());
    EXPECT_EQ(child<PinList>(*view, "pinList")->arrangedRows().size(), 1);
}

TEST_F(MemoryViewTest, EditsStillBeingTypedAreSavedWhenAskedAndOnlyThose) {
    fillMemory();
    auto view = openView();
    PeoplePane* people = showMaya(*view);
    ASSERT_TRUE(people->editor());
    child<QPlainTextEdit>(*people->editor(), "notes")->setPlainText(QStringLiteral("Prefers short e-mails. Calls after ten."));
    view->setSection(MemoryView::Section::pins);
    const QList<RecordTextField*> pins = child<PinList>(*view, "pinList")->findChildren<RecordTextField*>();
    const auto jonasPin = std::find_if(pins.begin(), pins.end(), [](RecordTextField* field) {
        return field->text() == QStringLiteral("Jonas is vegetarian");
    });
    ASSERT_NE(jonasPin, pins.end());
    (*jonasPin)->setText(QStringLiteral("Jonas is vegetarian and eats no fish"));
    EXPECT_EQ(memory->person(maya.id)->notes, QStringLiteral("Prefers short e-mails")) << "nothing saved while typing";

    view->keepPendingEdits();
    EXPECT_EQ(memory->person(maya.id)->notes, QStringLiteral("Prefers short e-mails. Calls after ten."));
    const QList<Pin> stored = memory->pins();
    EXPECT_TRUE(std::any_of(stored.begin(), stored.end(),
                            [](const Pin& pin) { return pin.text == QStringLiteral("Jonas is vegetarian and eats no fish"); }));
    EXPECT_EQ(stored.size(), 2);
    // Nothing typed, nothing written.
    const MemoryData kept = memory->data();
    view->keepPendingEdits();
    EXPECT_EQ(memory->data(), kept);
}

TEST_F(MemoryViewTest, WipeMessageCountsTheWholeStoreWithSingularAndPlural) {
    MemoryData data;
    data.people.append(Person{});
    data.pins = {Pin{}, Pin{}, Pin{}};
    EXPECT_EQ(MemoryView::wipeMessage(data),
              QStringLiteral("This removes 1 person, 0 commitments and 3 pins from this computer. It can't be undone. "
                             "Export first to keep a copy."));
    data.commitments.append(Commitment{});
    data.people.append(Person{});
    EXPECT_TRUE(MemoryView::wipeMessage(data).startsWith(QStringLiteral("This removes 2 people, 1 commitment and")));

    fillMemory();
    auto view = openView();
    search(*view, QStringLiteral("maya"));
    QMessageBox* box = openWipe(*view);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Delete everything Lumeno remembers?"));
    EXPECT_TRUE(box->informativeText().startsWith(QStringLiteral("This removes 2 people, 3 commitments and 2 pins")));
    picture(*box, QStringLiteral("memoryui-wipe-confirmation"));
    QTest::mouseClick(button(*box, QStringLiteral("Cancel")), Qt::LeftButton);
    EXPECT_EQ(memory->data().people.size(), 2);
    EXPECT_TRUE(memoryFileExists());
}

TEST_F(MemoryViewTest, DeleteEverythingEmptiesMemoryAndClearsTheSelectedPerson) {
    fillMemory();
    auto view = openView();
    PeoplePane* people = showMaya(*view);
    ASSERT_TRUE(people->editor());

    QMessageBox* box = openWipe(*view);
    ASSERT_TRUE(box);
    QTest::mouseClick(button(*box, QStringLiteral("Delete Everything")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log->contains(QStringLiteral("Memory wiped")); }));

    EXPECT_EQ(view->selectedPerson(), std::nullopt);
    EXPECT_EQ(memory->data(), MemoryData());
    EXPECT_FALSE(memoryFileExists());
    EXPECT_TRUE(log->contains(QStringLiteral("Memory wiped")));
    EXPECT_EQ(people->emptyPanel()->content().title, QStringLiteral("No people yet"));
    EXPECT_TRUE(child<CommitmentList>(*view, "commitmentList")->showsEmptyPanel());
    EXPECT_TRUE(child<PinList>(*view, "pinList")->showsEmptyPanel());
    EXPECT_FALSE(child<QPushButton>(*view, "wipeAll")->isEnabled());
    picture(*view, QStringLiteral("memoryui-after-wipe"));
}

TEST_F(MemoryViewTest, AWipeThatFailsSaysWhyAndKeepsShowingTheMemory) {
    fillMemory();
    auto view = openView();
    // Something the program cannot remove or write over sits where memory.json goes (once the saved
    // memory has reached the disk, which happens on the writer's own thread).
    memory->finishDiskWork();
    ASSERT_TRUE(QFile::remove(memoryPath()));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("memory.json/inside")));

    QTest::mouseClick(button(*openWipe(*view), QStringLiteral("Delete Everything")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->findChild<QMessageBox*>(QStringLiteral("wipeError")); }));
    auto* box = view->findChild<QMessageBox*>(QStringLiteral("wipeError"));
    EXPECT_EQ(box->text(), QStringLiteral("Couldn't wipe memory"));
    QTextDocument shown;
    shown.setHtml(box->informativeText());
    EXPECT_EQ(shown.toPlainText(), QStringLiteral("Couldn't remove memory.json: Is a directory"));
    EXPECT_EQ(segments(*view), QStringList({QStringLiteral("Commitments (2)"), QStringLiteral("People (2)"),
                                            QStringLiteral("Pins (2)")}));
    EXPECT_TRUE(child<QPushButton>(*view, "wipeAll")->isEnabled());
    EXPECT_FALSE(log->contains(QStringLiteral("Memory wiped")));
    picture(*box, QStringLiteral("memoryui-wipe-error"));
}

TEST_F(MemoryViewTest, ExportWritesTheWholeMemoryWhereTheUserChose) {
    auto view = openView();
    // Cancelled: nothing written, nothing said.
    QTest::mouseClick(child<QPushButton>(*view, "export"), Qt::LeftButton);
    EXPECT_EQ(chooser.asked, 1);
    EXPECT_TRUE(log->lines().isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());

    const QString target = folder.filePath(QStringLiteral("Lumeno Memory.json"));
    chooser.answer = target;

    // An empty memory still exports a document: version and three empty lists.
    exportAndWait(*view);
    EXPECT_EQ(chooser.suggested, QStringLiteral("Lumeno Memory.json"));
    EXPECT_EQ(MemoryData::fromJson(readFile(target)), MemoryData());
    EXPECT_TRUE(log->contains(QStringLiteral("Memory exported")));

    // Exporting again over the file replaces it whole. The export is the user's to share: its mode is
    // whatever their umask gives a new file, readable by others here.
    fillMemory();
    const mode_t previous = ::umask(022);
    exportAndWait(*view);
    ::umask(previous);
    EXPECT_EQ(readFile(target), memory->exportData());
    EXPECT_EQ(QFile::permissions(target) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(log->lines(), QStringList{QStringLiteral("Memory exported")});
    EXPECT_EQ(view->findChild<QMessageBox*>(), nullptr);
}

TEST_F(MemoryViewTest, FailedExportSaysWhyAndLeavesMemoryAlone) {
    fillMemory();
    const MemoryData before = memory->data();
    auto view = openView();
    // The file name looks like markup: the message must still show it as typed.
    chooser.answer = folder.filePath(QStringLiteral("no such folder/<i>Lumeno Memory.json"));
    exportAndWait(*view);

    auto* box = view->findChild<QMessageBox*>(QStringLiteral("exportError"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Couldn't export"));
    QTextDocument shown;
    shown.setHtml(box->informativeText());
    EXPECT_TRUE(shown.toPlainText().startsWith(QStringLiteral("Couldn't write <i>Lumeno Memory.json: ")))
        << shown.toPlainText().toStdString();
    EXPECT_FALSE(log->contains(QStringLiteral("Memory exported")));
    EXPECT_EQ(memory->data(), before);
    picture(*box, QStringLiteral("memoryui-export-error"));
}

} // namespace
} // namespace lumeno
