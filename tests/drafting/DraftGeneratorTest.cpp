#include "DraftingExamples.h"

#include "drafting/DraftError.h"
#include "drafting/DraftGenerator.h"
#include "drafting/PromptBuilder.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "support/CancelToken.h"
#include "support/Clock.h"
#include "testsupport/QtPrinters.h"

#include <QCoroTask>

#include <gtest/gtest.h>

namespace lumeno {
namespace {

// What one compose ended with. Exceptions are caught inside a coroutine: one escaping QCoro::waitFor would
// never return.
struct Outcome {
    std::optional<DraftResult> result;
    std::optional<DraftError> error;
    bool cancelled = false;
};

QCoro::Task<Outcome> outcomeOf(QCoro::Task<DraftResult> compose) {
    try {
        // Awaited in a statement of its own: g++ 12 miscompiles co_await inside a braced initializer.
        DraftResult result = co_await std::move(compose);
        co_return Outcome{std::move(result), std::nullopt, false};
    } catch (const DraftError& error) {
        co_return Outcome{std::nullopt, error, false};
    } catch (const Cancelled&) {
        co_return Outcome{std::nullopt, std::nullopt, true};
    }
}

class DraftGeneratorTest : public ::testing::Test {
protected:
    // The model answers `text` after `seconds`, naming no provider or model.
    void answer(const QString& text, double seconds = 0) {
        generator.send = [this, text, seconds](DraftPrompt prompt, CancelToken) -> QCoro::Task<DraftReply> {
            sent.push_back(prompt);
            clock.advance(seconds);
            co_return DraftReply{text, std::nullopt, std::nullopt};
        };
    }

    void fail(std::function<void()> thrower) {
        generator.send = [thrower](DraftPrompt, CancelToken) -> QCoro::Task<DraftReply> {
            thrower();
            co_return DraftReply{};
        };
    }

    Outcome outcome(const DraftInput& input) { return QCoro::waitFor(outcomeOf(generator.compose(input))); }

    DraftResult compose(const DraftInput& input) {
        const Outcome ended = outcome(input);
        EXPECT_TRUE(ended.result) << "compose failed";
        return ended.result.value_or(DraftResult{});
    }

    DraftError composeError(const DraftInput& input) {
        const Outcome ended = outcome(input);
        EXPECT_TRUE(ended.error) << "compose did not throw a DraftError";
        return ended.error.value_or(DraftError{});
    }

    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    ManualClock clock;
    DraftGenerator generator{settings, clock};
    std::vector<DraftPrompt> sent;
};

TEST_F(DraftGeneratorTest, EmailFromAChattyModelComesOutReadyToPaste) {
    const DraftInput input = examples::emailReply();
    const QString modelText = QStringLiteral(
        "Here's a warm reply to Jonas:\n\n"
        "\"Hi Jonas,\n\n"
        "Thanks for digging these up! Lisbon works for us. We'd just need the final headcount by Friday.\n"
        "I'll send the agenda over next week.\n\n"
        "Best regards,\n"
        "[Your Name]\"\n\n"
        "Let me know if you'd like me to adjust the tone.");
    answer(modelText, 2.4);

    const DraftResult result = compose(input);
    EXPECT_EQ(result.text, QStringLiteral(
                               "Hi Jonas,\n\n"
                               "Thanks for digging these up! Lisbon works for us. We'd just need the final headcount by "
                               "Friday.\n\n"
                               "I'll send the agenda over next week.\n\n"
                               "Best,\n"
                               "Maya"));
    EXPECT_EQ(result.modelText, modelText);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(result.prompt, sent.front());
    EXPECT_EQ(result.prompt, PromptBuilder::prompt(input));
    EXPECT_DOUBLE_EQ(result.seconds, 2.4);
}

TEST_F(DraftGeneratorTest, RealLookingModelOutputsAreFinishedForTheirKindOfMessage) {
    struct Case {
        const char* what;
        DraftInput input;
        const char* modelText;
        const char* expected;
    };
    DraftInput germanEmail = examples::emailReply();
    germanEmail.addressee = QStringLiteral("Jonas Weber");
    const std::vector<Case> cases{
        {"subject line, markdown and a note after a separator", examples::emailReply(),
         "Subject: Re: Venue for the spring offsite\n\nHi Jonas,\n\n**Lisbon works for us.** We'd need the final "
         "headcount by Friday.\n\nI'll send the agenda next week.\n\nBest,\nMaya\n\n---\n\nNote: I didn't "
         "mention the budget.",
         "Hi Jonas,\n\nLisbon works for us. We'd need the final headcount by Friday.\n\nI'll send the agenda next "
         "week.\n\nBest,\nMaya"},
        {"a reply in the thread's language keeps its own sign-off", germanEmail,
         "Hallo Jonas,\n\nLissabon passt uns gut. Wir bräuchten die finale Teilnehmerzahl bis Freitag.\n\nViele "
         "Grüße\nMaya Lindqvist",
         "Hallo Jonas,\n\nLissabon passt uns gut. Wir bräuchten die finale Teilnehmerzahl bis Freitag.\n\nViele "
         "Grüße\nMaya"},
        {"greeting glued to the first sentence, recipient placeholder", examples::followUp(),
         "Hi [Recipient Name], just checking in on invoice 2026-014 from February. Is there anything else you need "
         "from me?\n\nThanks,\n[Your Name]",
         "Hi Priya,\n\nJust checking in on invoice 2026-014 from February. Is there anything else you need from "
         "me?\n\nBest,\nMaya"},
        {"chat reply with an emoji and a signature", examples::chatReply(),
         "Ich übernehme Donnerstag 👍 Bin nur von 18-19 Uhr weg.\n\n— Maya",
         "Ich übernehme Donnerstag 👍 Bin nur von 18-19 Uhr weg."},
        {"an edit keeps its shape, without the quotes", examples::selectionEdit(),
         "\"Could you send me the signed contract by Friday? If you need a few more days, that's completely fine.\"",
         "Could you send me the signed contract by Friday? If you need a few more days, that's completely fine."},
        {"chat reply in an e-mail's dress", examples::chatReply(),
         "Hi Lukas,\n\nich übernehme Donnerstag, bin aber von 18 bis 19 Uhr weg.\n\nBest,\nMaya",
         "ich übernehme Donnerstag, bin aber von 18 bis 19 Uhr weg."},
        {"LinkedIn reply signed twice", examples::linkedInReply(),
         "Hi Elena,\n\nThank you for reaching out. I'm happy where I am right now, but I'd be open to a call in the "
         "autumn.\n\nBest regards,\nMaya\n\nBest regards,\nMaya Lindqvist",
         "Hi Elena,\n\nThank you for reaching out. I'm happy where I am right now, but I'd be open to a call in the "
         "autumn.\n\nBest regards,\nMaya"},
    };
    for (const Case& example : cases) {
        const QString finished = DraftGenerator::finished(QString::fromUtf8(example.modelText), example.input,
                                                          PromptBuilder::tokenLimit(example.input));
        EXPECT_EQ(finished, QString::fromUtf8(example.expected)) << example.what;
    }
}

TEST_F(DraftGeneratorTest, ProviderAndModelComeFromTheServerElseFromTheSettings) {
    answer(QStringLiteral("Works for me."));
    settings.setProvider(QStringLiteral("openai"));
    settings.setOpenAIModel(QStringLiteral("gpt-test"));
    DraftResult result = compose(examples::chatReply());
    EXPECT_EQ(result.provider, ProviderKind::openai);
    EXPECT_EQ(result.model, QStringLiteral("gpt-test"));

    generator.send = [](DraftPrompt, CancelToken) -> QCoro::Task<DraftReply> {
        co_return DraftReply{QStringLiteral("Works for me."), ProviderKind::anthropic, QStringLiteral("claude-test")};
    };
    result = compose(examples::chatReply());
    EXPECT_EQ(result.provider, ProviderKind::anthropic);
    EXPECT_EQ(result.model, QStringLiteral("claude-test"));
}

TEST_F(DraftGeneratorTest, NothingUsableFromTheModelIsAnEmptyResponse) {
    for (const QString& empty : {QString(), QStringLiteral("  \n "), QStringLiteral("\"\""), QStringLiteral("```\n```")}) {
        answer(empty);
        EXPECT_EQ(composeError(examples::emailReply()).kind, DraftError::Kind::emptyResponse) << empty.toStdString();
    }
}

TEST_F(DraftGeneratorTest, FailuresOfTheCallPassThroughUnchanged) {
    fail([] { throw DraftError::rateLimited(QStringLiteral("Slow down")); });
    EXPECT_EQ(composeError(examples::emailReply()), DraftError::rateLimited(QStringLiteral("Slow down")));

    // A draft called off ends quietly: neither a result nor an error to show.
    fail([] { throw Cancelled{}; });
    const Outcome called = outcome(examples::emailReply());
    EXPECT_TRUE(called.cancelled);
    EXPECT_FALSE(called.error);
}

TEST(DraftGeneratorUnwiredTest, SaysClearlyThatNoServerIsConnected) {
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    ManualClock clock;
    DraftGenerator generator{settings, clock};
    const Outcome ended = QCoro::waitFor(outcomeOf(generator.compose(examples::chatReply())));
    ASSERT_TRUE(ended.error);
    EXPECT_EQ(ended.error->kind, DraftError::Kind::server);
    EXPECT_EQ(ended.error->detail(), QStringLiteral("This build isn't connected to a Lumeno server."));
}

} // namespace
} // namespace lumeno
