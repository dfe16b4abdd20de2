#include "MemoryTestSupport.h"

namespace lumeno {
namespace {

class MemorySearch : public MemoryStoreTest {
protected:
    void SetUp() override {
        MemoryStoreTest::SetUp();
        store = openStore();
        zoe = store->addPerson(QString::fromUtf8("Zoë Kralj"), {"zk@example.com"}, "Runs the Lisbon office");
        anna = store->addPerson("anna novak", {"@annan"}, "");
        store->addCommitment("Send the deck", utc(2026, 3, 6, 12), zoe.id);
        store->addCommitment("Book flights to Lisbon", std::nullopt, std::nullopt);
        store->addCommitment("Ask about the budget", std::nullopt, anna.id);
        store->addPin("Prefers calls", zoe.id, std::nullopt);
        clock.advance(60);
        store->addPin("Quarterly numbers", std::nullopt, QString("Lisbon launch"));
    }

    QStringList found(const QString& query) const {
        const MemoryStore::SearchResults results = store->search(query);
        QStringList all;
        for (const Person& p : results.people)
            all << "person " + p.name;
        for (const Commitment& c : results.commitments)
            all << "commitment " + c.text;
        for (const Pin& p : results.pins)
            all << "pin " + p.text;
        return all;
    }

    std::unique_ptr<MemoryStore> store;
    Person zoe;
    Person anna;
};

TEST_F(MemorySearch, ABlankQueryListsEverythingInDisplayOrder) {
    const MemoryStore::SearchResults all = store->search(" \t\n");
    EXPECT_EQ(all, (MemoryStore::SearchResults{store->people(), store->commitments(), store->pins()}));
    EXPECT_EQ(all.people.front().name, "anna novak");
}

TEST_F(MemorySearch, IgnoresCaseAndAccentsBothWays) {
    EXPECT_EQ(found("ZOE"), QStringList({QString::fromUtf8("person Zoë Kralj"), "commitment Send the deck",
                                         "pin Prefers calls"}));
    EXPECT_EQ(found(QString::fromUtf8("  Ánna  ")), QStringList({"person anna novak", "commitment Ask about the budget"}));
}

TEST_F(MemorySearch, NotesAndAliasesFindOnlyThePerson) {
    EXPECT_EQ(found("zk@example"), QStringList({QString::fromUtf8("person Zoë Kralj")}));
    EXPECT_EQ(found("lisbon"), QStringList({QString::fromUtf8("person Zoë Kralj"), "commitment Book flights to Lisbon",
                                            "pin Quarterly numbers"}));
    // Inner blanks are part of the query.
    EXPECT_EQ(found("the deck"), QStringList({"commitment Send the deck"}));
    EXPECT_TRUE(found("the  deck").isEmpty());
}

TEST_F(MemorySearch, PeopleComeBackInNameOrderAndADeletedOneLendsNoName) {
    store->addPerson("Bob Lisbon", {}, "");
    EXPECT_EQ(store->search("lisbon").people.size(), 2);
    EXPECT_EQ(store->search("lisbon").people.front().name, "Bob Lisbon");
    store->deletePerson(anna.id);
    EXPECT_TRUE(found("novak").isEmpty());
}

TEST_F(MemoryStoreTest, ACardHoldsOpenCommitmentsWithDueDatesAndPinsNewestFirst) {
    const ScopedLocale english("en_US");
    const ScopedTimeZone zone("UTC");
    auto store = openStore();
    const Person anna = store->addPerson("Anna Novak", {}, "Prefers mornings");
    store->addCommitment("Send the deck", utc(2025, 3, 1, 12), anna.id);
    store->addCommitment("Book the room", std::nullopt, anna.id);
    store->addCommitment("Old promise", std::nullopt, anna.id);
    store->setDone(store->data().commitments.back().id, true);
    store->addPin("Likes tea", anna.id, std::nullopt);
    clock.advance(60);
    store->addPin("Door code is 4411", anna.id, std::nullopt);

    const PersonCard card = store->card(anna);
    EXPECT_EQ(card, (PersonCard{"Anna Novak", "Prefers mornings", {"Send the deck (due Sat, Mar 1)", "Book the room"},
                                {"Door code is 4411", "Likes tea"}}));
    EXPECT_EQ(card.rendered(), "Name: Anna Novak\n"
                               "Notes: Prefers mornings\n"
                               "Open commitments:\n"
                               "- Send the deck (due Sat, Mar 1)\n"
                               "- Book the room\n"
                               "Pinned:\n"
                               "- Door code is 4411\n"
                               "- Likes tea");

    const Person bob = store->addPerson("Bob", {}, "");
    EXPECT_EQ(store->card(bob), (PersonCard{"Bob", "", {}, {}}));
    EXPECT_EQ(store->card(bob).rendered(), "Name: Bob");
}

TEST_F(MemoryStoreTest, ADueDateFollowsTheLocaleAndTheLocalDay) {
    const ScopedTimeZone zone("America/Los_Angeles");
    auto store = openStore();
    const Person anna = store->addPerson("Anna", {}, "");
    store->addCommitment("Call", utc(2025, 3, 1, 3), anna.id); // still Friday evening in California
    {
        const ScopedLocale english("en_US");
        EXPECT_EQ(store->card(anna).commitments, QStringList({"Call (due Fri, Feb 28)"}));
    }
    const ScopedLocale german("de_DE");
    EXPECT_EQ(store->card(anna).commitments, QStringList({QString::fromUtf8("Call (due Fr., 28. Feb.)")}));
}

} // namespace
} // namespace lumeno
