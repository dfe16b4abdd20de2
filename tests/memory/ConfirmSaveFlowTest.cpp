#include "MemoryTestSupport.h"

#include "memory/ConfirmSaveFlow.h"
#include "screen/PackedContext.h"

namespace lumeno {
namespace {

class ConfirmSaveFlowTest : public MemoryStoreTest {
protected:
    void SetUp() override {
        MemoryStoreTest::SetUp();
        store = openStore();
        flow = std::make_unique<ConfirmSaveFlow>(*store, dates);
    }

    QList<SaveOffer> offers(const QString& intent, const QString& draft, const std::optional<QString>& thread = {},
                            const std::optional<Person>& person = {}, const std::optional<QString>& partner = {},
                            const std::optional<QString>& ownName = QString("Marko Kralj")) {
        const std::optional<PackedContext> context =
            thread ? std::optional(PackedContext{PackedContext::Source::screen, *thread, 0, false}) : std::nullopt;
        return flow->offers(intent, draft, context, person, QString("Weekly sync"), ownName, partner);
    }

    static QStringList titles(const QList<SaveOffer>& offers) {
        QStringList result;
        for (const SaveOffer& offer : offers)
            result << offer.title();
        return result;
    }

    ScopedTimeZone zone{"UTC"};
    ScopedLocale english{"en_US"};
    DateDetector dates{clock};
    std::unique_ptr<MemoryStore> store;
    std::unique_ptr<ConfirmSaveFlow> flow;
};

const QString annaWrote = "Anna Novak <anna@example.com>\nTo: me\nCan you send the deck?";

TEST_F(ConfirmSaveFlowTest, OffersAPromiseAPersonAndAPinInThatOrder) {
    const QList<SaveOffer> made = offers("note to self: she prefers calls", "I'll send you the deck by Friday.",
                                         annaWrote);
    EXPECT_EQ(titles(made), QStringList({QString::fromUtf8("Save “Send you the deck” · Fri, Mar 6"),
                                         "Save Anna Novak as a person", QString::fromUtf8("Pin “She prefers calls”")}));
    EXPECT_EQ(std::get<SaveOffer::PersonKind>(made[1].kind).email, QString("anna@example.com"));
    EXPECT_EQ(std::get<SaveOffer::PinKind>(made[2].kind).thread, QString("Weekly sync"));
}

TEST_F(ConfirmSaveFlowTest, TheDraftsPromiseWinsOverTheDictations) {
    const QList<SaveOffer> made = offers("tell her I'll call tomorrow", "I'll send you the deck by Friday.");
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(std::get<SaveOffer::CommitmentKind>(made[0].kind).text, "Send you the deck");
    EXPECT_EQ(std::get<SaveOffer::CommitmentKind>(offers("tell her I'll call tomorrow", "Sounds good!")[0].kind).text,
              "Call");
}

TEST_F(ConfirmSaveFlowTest, AnOpenCommitmentIsNotOfferedAgainButADoneOneIs) {
    store->addCommitment("SEND THE DECK", std::nullopt, std::nullopt);
    EXPECT_TRUE(offers("", "I'll send the deck.").isEmpty());
    store->setDone(store->data().commitments.front().id, true);
    EXPECT_EQ(offers("", "I'll send the deck.").size(), 1);
}

TEST_F(ConfirmSaveFlowTest, NothingIsOfferedTwiceInARun) {
    EXPECT_EQ(offers("note to self: buy milk", "I'll do it.", annaWrote).size(), 3);
    EXPECT_TRUE(offers("note to self: buy milk", "I'll do it.", annaWrote).isEmpty());
    ConfirmSaveFlow nextRun(*store, dates);
    EXPECT_EQ(nextRun.offers("note to self: BUY MILK", "", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                             std::nullopt).size(), 1);
}

TEST_F(ConfirmSaveFlowTest, AKnownPersonGetsANewAddressOnlyWhenTheNameMatches) {
    const Person anna = store->addPerson("Anna Novak", {"ANNA@example.com"}, "");
    EXPECT_TRUE(offers("", "", annaWrote, anna).isEmpty()) << "the address is known in other capitals";

    const QString newAddress = "Anna Novak <anna.novak@work.example>\nTo: me\nHi";
    const QList<SaveOffer> made = offers("", "", newAddress, anna);
    EXPECT_EQ(titles(made), QStringList({"Add anna.novak@work.example to Anna"}));

    const QString otherSender = "Bob Stone <bob@work.example>\nTo: me\nHi";
    EXPECT_TRUE(offers("", "", otherSender, anna).isEmpty()) << "Bob is not Anna";
}

TEST_F(ConfirmSaveFlowTest, KnownNamesAndTheUserAreNeverNewPeople) {
    store->addPerson("ANNA NOVAK", {}, "");
    EXPECT_TRUE(offers("", "", annaWrote).isEmpty());
    EXPECT_TRUE(offers("", "", std::nullopt).isEmpty()) << "no context and no partner";
    EXPECT_TRUE(offers("", "", std::nullopt, std::nullopt, QString::fromUtf8("marko KRÁLJ")).isEmpty());
    EXPECT_EQ(titles(offers("", "", std::nullopt, std::nullopt, QString("Bob Stone"))),
              QStringList({"Save Bob Stone as a person"}));
}

TEST_F(ConfirmSaveFlowTest, AcceptingStoresTheOfferAndLogsIt) {
    const std::optional<QUuid> created = flow->accept(SaveOffer::person(" Anna Novak ", QString("anna@example.com")), std::nullopt);
    ASSERT_TRUE(created);
    EXPECT_EQ(store->person(created)->aliases, QStringList({"anna@example.com"}));
    EXPECT_EQ(store->person(created)->name, "Anna Novak");

    const QUuid bob = store->addPerson("Bob", {}, "").id;
    EXPECT_EQ(flow->accept(SaveOffer::commitment("Send the deck", std::nullopt, std::nullopt), bob), std::nullopt);
    EXPECT_EQ(store->data().commitments.front().personID, bob);
    flow->accept(SaveOffer::pin("Likes tea", *created, QString("Weekly sync")), bob);
    EXPECT_EQ(store->data().pins.front().personID, created);

    flow->accept(SaveOffer::alias("anna@work.example", *created, "Anna"), bob);
    EXPECT_EQ(store->person(created)->aliases, QStringList({"anna@example.com", "anna@work.example"}));
    EXPECT_EQ(store->person(bob)->aliases, QStringList());
    EXPECT_TRUE(log->contains("Saved person after confirm"));
    EXPECT_TRUE(log->contains("Saved alias after confirm"));
}

} // namespace
} // namespace lumeno
