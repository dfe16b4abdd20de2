#include "MemoryUiTestSupport.h"

#include "memory/ui/CommitmentList.h"
#include "memory/ui/DeleteButton.h"
#include "memory/ui/DueControl.h"
#include "memory/ui/PersonPicker.h"
#include "memory/ui/RecordTextField.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QMenu>
#include <QPushButton>

namespace lumeno {
namespace {

class CommitmentRowTest : public MemoryUiTest {
protected:
    CommitmentRowTest() { clock.set(local(2026, 3, 4, 10)); }

    CommitmentList& list() { return *child<CommitmentList>(*view, "commitmentList"); }

    QList<CommitmentRow*> rows() {
        QList<CommitmentRow*> shown;
        for (QWidget* row : list().arrangedRows())
            shown.append(static_cast<CommitmentRow*>(row));
        return shown;
    }

    CommitmentRow* row(const QString& text) {
        for (CommitmentRow* candidate : rows())
            if (candidate->record().text == text)
                return candidate;
        ADD_FAILURE() << "no row " << text.toStdString();
        return nullptr;
    }

    QStringList shownTexts() {
        QStringList texts;
        for (CommitmentRow* shown : rows())
            texts << child<RecordTextField>(*shown, "recordText")->text();
        return texts;
    }

    // Types into a row's field, then leaves it the way the user does: Return or a click elsewhere.
    void edit(CommitmentRow& target, const QString& text, bool pressReturn) {
        auto* field = child<RecordTextField>(target, "recordText");
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        if (text.isEmpty())
            field->clear();
        if (pressReturn)
            QTest::keyClick(field, Qt::Key_Return);
        else
            child<QLineEdit>(*view, "search")->setFocus();
    }

    Ink calendarInk(CommitmentRow& target) { return child<SymbolView>(target, "dueCalendar")->ink(); }

    void open() {
        view = openView();
        view->activateWindow();
    }

    std::unique_ptr<MemoryView> view;
};

TEST_F(CommitmentRowTest, OverdueMeansOpenAndDueBeforeTheEndOfToday) {
    const QDateTime now = clock.now();
    const auto due = [](std::optional<QDateTime> when, bool done = false) {
        Commitment commitment;
        commitment.due = when;
        commitment.done = done;
        return commitment;
    };
    EXPECT_TRUE(CommitmentRow::isOverdue(due(local(2026, 3, 3, 12)), now));
    EXPECT_TRUE(CommitmentRow::isOverdue(due(local(2026, 3, 4, 0)), now));
    EXPECT_TRUE(CommitmentRow::isOverdue(due(local(2026, 3, 4, 23)), now));
    EXPECT_FALSE(CommitmentRow::isOverdue(due(local(2026, 3, 5, 0)), now));
    EXPECT_FALSE(CommitmentRow::isOverdue(due(local(2025, 1, 1), true), now));
    EXPECT_FALSE(CommitmentRow::isOverdue(due(std::nullopt), now));
}

TEST_F(CommitmentRowTest, ADueDateTurnsOverdueAtMidnightWithNothingElseChanging) {
    memory->addCommitment(QStringLiteral("Call the bank"), local(2026, 3, 5, 9), std::nullopt);
    open();
    CommitmentRow* target = row(QStringLiteral("Call the bank"));
    EXPECT_EQ(calendarInk(*target), Ink::of(Hierarchy::secondary));
    const double untilMidnight = clock.now().secsTo(local(2026, 3, 5, 0));
    scheduler.advance(untilMidnight - 1);
    EXPECT_EQ(calendarInk(*target), Ink::of(Hierarchy::secondary)) << "still the day before";
    scheduler.advance(2);
    EXPECT_EQ(calendarInk(*target), Ink::fixed(Tint::orange())) << "due today: overdue from midnight";

    memory->addCommitment(QStringLiteral("Send the deck"), local(2026, 3, 6, 9), std::nullopt);
    scheduler.advance(24 * 3600);
    EXPECT_EQ(calendarInk(*row(QStringLiteral("Send the deck"))), Ink::fixed(Tint::orange())) << "and every midnight after";
}

TEST_F(CommitmentRowTest, DoneBoxTicksOffAndTheRowMovesDown) {
    memory->addCommitment(QStringLiteral("Send the deck"), std::nullopt, std::nullopt);
    clock.advance(60);
    memory->addCommitment(QStringLiteral("Review the draft"), std::nullopt, std::nullopt);
    open();
    EXPECT_EQ(shownTexts(), (QStringList{QStringLiteral("Review the draft"), QStringLiteral("Send the deck")}));
    CommitmentRow* first = rows().first();
    auto* done = child<QCheckBox>(*first, "done");
    EXPECT_EQ(done->toolTip(), QStringLiteral("Mark as done"));
    EXPECT_EQ(done->accessibleName(), QStringLiteral("Done")) << "a box without text still has a name";

    done->click();
    EXPECT_TRUE(onDisk().commitments.last().done);
    EXPECT_EQ(shownTexts(), (QStringList{QStringLiteral("Send the deck"), QStringLiteral("Review the draft")}));
    // The same row moved: its state went with it.
    EXPECT_EQ(rows().last(), first);
    EXPECT_EQ(done->toolTip(), QStringLiteral("Mark as open"));
    EXPECT_TRUE(child<RecordTextField>(*first, "recordText")->font().strikeOut());

    done->click();
    EXPECT_FALSE(memory->data().commitments.last().done);
    EXPECT_FALSE(child<RecordTextField>(*first, "recordText")->font().strikeOut());
}

TEST_F(CommitmentRowTest, DueDateIsAddedAsTomorrowChangedAndRemoved) {
    memory->addCommitment(QStringLiteral("Send the deck"), std::nullopt, std::nullopt);
    open();
    CommitmentRow* target = rows().first();
    auto* add = child<QPushButton>(*target, "addDueDate");
    ASSERT_TRUE(add->isVisible());
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(memory->data().commitments.first().due, local(2026, 3, 5, 0));
    EXPECT_FALSE(add->isVisible());
    EXPECT_EQ(calendarInk(*target), Ink::of(Hierarchy::secondary));
    EXPECT_EQ(child<QDateEdit>(*target, "dueDate")->date(), QDate(2026, 3, 5));

    child<QDateEdit>(*target, "dueDate")->setDate(QDate(2026, 3, 2));
    EXPECT_EQ(memory->data().commitments.first().due, local(2026, 3, 2, 0));
    EXPECT_EQ(calendarInk(*target), Ink::fixed(Tint::orange()));

    QTest::mouseClick(child<QWidget>(*target, "removeDueDate"), Qt::LeftButton);
    EXPECT_EQ(onDisk().commitments.first().due, std::nullopt);
    EXPECT_TRUE(add->isVisible());
}

TEST_F(CommitmentRowTest, TextIsStoredTrimmedOnReturnAndNeverEmptied) {
    memory->addCommitment(QStringLiteral("Send the deck"), std::nullopt, std::nullopt);
    open();
    CommitmentRow* target = rows().first();
    auto* field = child<RecordTextField>(*target, "recordText");

    edit(*target, QStringLiteral("  Send the deck by Friday  "), true);
    EXPECT_EQ(onDisk().commitments.first().text, QStringLiteral("Send the deck by Friday"));
    EXPECT_EQ(field->text(), QStringLiteral("Send the deck by Friday"));

    // Emptying the field and clicking elsewhere brings the text back and writes nothing.
    QFile::remove(memoryPath());
    edit(*target, QString(), false);
    EXPECT_EQ(field->text(), QStringLiteral("Send the deck by Friday"));
    EXPECT_FALSE(memoryFileExists());

    // Leaving an untouched field writes nothing either.
    field->setFocus();
    child<QLineEdit>(*view, "search")->setFocus();
    EXPECT_FALSE(memoryFileExists());
}

TEST_F(CommitmentRowTest, SecretsAreStoredRedactedAndTheFieldShowsWhatWasKept) {
    memory->addCommitment(QStringLiteral("Send the key"), std::nullopt, std::nullopt);
    open();
    CommitmentRow* target = rows().first();
    edit(*target, QStringLiteral("Send the key sk-proj-4fG7hJ2kL9mN3pQ8rS1tV6wX0yZ5aB7c to Maya"), false);
    EXPECT_EQ(onDisk().commitments.first().text, QStringLiteral("Send the key [redacted] to Maya"));
    EXPECT_EQ(child<RecordTextField>(*target, "recordText")->text(), QStringLiteral("Send the key [redacted] to Maya"));
}

TEST_F(CommitmentRowTest, TrashRemovesTheCommitmentAtOnce) {
    memory->addCommitment(QStringLiteral("Send the deck"), std::nullopt, std::nullopt);
    memory->addCommitment(QStringLiteral("Review the draft"), std::nullopt, std::nullopt);
    open();
    CommitmentRow* target = row(QStringLiteral("Send the deck"));
    auto* trash = child<DeleteButton>(*target, "deleteButton");
    EXPECT_EQ(trash->accessibleName(), QStringLiteral("Delete this commitment"));
    QTest::mouseClick(trash, Qt::LeftButton);
    EXPECT_EQ(onDisk().commitments.size(), 1);
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Review the draft")});
    EXPECT_EQ(view->findChild<QMessageBox*>(), nullptr);
}

TEST_F(CommitmentRowTest, PersonMenuLinksAndUnlinksAPerson) {
    const Person zoe = memory->addPerson(QStringLiteral("Zoe Park"), {}, QString());
    memory->addPerson(QStringLiteral("anna Svensson"), {}, QString());
    memory->addCommitment(QStringLiteral("Send the deck"), std::nullopt, std::nullopt);
    open();
    CommitmentRow* target = rows().first();
    auto* picker = child<PersonPicker>(*target, "personPicker");
    EXPECT_EQ(picker->text(), QStringLiteral("No person"));

    QMenu* menu = picker->choices();
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction* action : menu->actions())
        titles << (action->isSeparator() ? QStringLiteral("---") : action->text());
    EXPECT_EQ(titles, (QStringList{QStringLiteral("No person"), QStringLiteral("---"), QStringLiteral("anna Svensson"),
                                   QStringLiteral("Zoe Park")}));

    menu->actions().at(3)->trigger();
    EXPECT_EQ(onDisk().commitments.first().personID, zoe.id);
    EXPECT_EQ(picker->text(), QStringLiteral("Zoe Park"));
    picture(*view, QStringLiteral("memoryui-commitment-with-person"));

    // A person deleted elsewhere leaves the commitment with nobody.
    memory->deletePerson(zoe.id);
    EXPECT_EQ(picker->text(), QStringLiteral("No person"));
    menu->actions().first()->trigger();
    EXPECT_EQ(memory->data().commitments.first().personID, std::nullopt);
}

} // namespace
} // namespace lumeno
