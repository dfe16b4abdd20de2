#include "drafting/ReplyGuard.h"

#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumeno {
namespace {

struct Sample {
    const char* code;
    const char* text;
};

void expectLanguages(const std::vector<Sample>& samples) {
    for (const Sample& sample : samples)
        EXPECT_EQ(ReplyGuard::languageCode(QString::fromUtf8(sample.text)), QString::fromLatin1(sample.code))
            << sample.text;
}

TEST(ReplyGuardTest, KnowsLongerMessagesInTheReplyLanguages) {
    expectLanguages({
        {"en", "Thanks for sending the contract over. I'll read it tonight and come back to you with comments by Friday."},
        {"de", "Danke, dass du mir den Vertrag geschickt hast. Ich lese ihn heute Abend und melde mich bis Freitag."},
        {"fr", "Merci de m'avoir envoyé le contrat. Je le lis ce soir et je reviens vers toi vendredi au plus tard."},
        {"es", "Gracias por enviarme el contrato. Lo leo esta noche y te escribo con mis comentarios antes del viernes."},
        {"it", "Grazie per avermi mandato il contratto. Lo leggo stasera e ti rispondo con i miei commenti entro venerdì."},
        {"pt", "Obrigado por me enviar o contrato. Vou lê-lo hoje à noite e respondo com os meus comentários até sexta."},
        {"nl", "Bedankt voor het sturen van het contract. Ik lees het vanavond en kom vrijdag bij je terug met opmerkingen."},
        {"sv", "Tack för att du skickade avtalet. Jag läser det i kväll och återkommer med kommentarer senast på fredag."},
        {"no", "Takk for at du sendte kontrakten. Jeg leser den i kveld og kommer tilbake til deg med kommentarer innen fredag."},
        {"da", "Tak fordi du sendte kontrakten. Jeg læser den i aften og vender tilbage med mine kommentarer senest fredag."},
        {"fi", "Kiitos, että lähetit sopimuksen. Luen sen tänä iltana ja palaan asiaan kommenttien kanssa perjantaihin mennessä."},
        {"pl", "Dziękuję za przesłanie umowy. Przeczytam ją dziś wieczorem i wrócę do ciebie z uwagami do piątku."},
        {"cs", "Děkuji za zaslání smlouvy. Dnes večer si ji přečtu a do pátku se vám ozvu s připomínkami."},
        {"sk", "Ďakujem za poslanie zmluvy. Dnes večer si ju prečítam a do piatku sa vám ozvem s pripomienkami."},
        {"sl", "Hvala, ker si mi poslal pogodbo. Nocoj jo bom prebral in se ti do petka oglasil s pripombami."},
        {"hr", "Hvala što si mi poslao ugovor. Pročitat ću ga večeras i javit ću ti se s komentarima do petka."},
        {"hu", "Köszönöm, hogy elküldted a szerződést. Ma este elolvasom, és péntekig jelentkezem a megjegyzéseimmel."},
        {"ro", "Mulțumesc că mi-ai trimis contractul. Îl citesc diseară și revin cu comentarii până vineri."},
        {"tr", "Sözleşmeyi gönderdiğin için teşekkürler. Bu akşam okuyacağım ve cuma gününe kadar yorumlarımla döneceğim."},
        {"ru", "Спасибо, что прислал договор. Я прочитаю его сегодня вечером и до пятницы вернусь с комментариями."},
        {"uk", "Дякую, що надіслав договір. Я прочитаю його сьогодні ввечері і до п'ятниці повернуся з коментарями."},
        {"bg", "Благодаря, че ми изпрати договора. Ще го прочета довечера и ще се върна с коментари до петък."},
        {"sr", "Хвала што си ми послао уговор. Прочитаћу га вечерас и јавићу ти се са коментарима до петка."},
        {"el", "Ευχαριστώ που μου έστειλες το συμβόλαιο. Θα το διαβάσω απόψε και θα επανέλθω με σχόλια μέχρι την Παρασκευή."},
        {"ar", "شكرا لإرسال العقد. سأقرأه الليلة وأعود إليك بملاحظاتي قبل يوم الجمعة."},
        {"zh", "谢谢你把合同发给我。我今晚会看一下，周五之前把意见反馈给你。"},
        {"ja", "契約書を送っていただきありがとうございます。今夜読んで、金曜日までにコメントをお送りします。"},
        {"ko", "계약서를 보내 주셔서 감사합니다. 오늘 밤에 읽어 보고 금요일까지 의견을 드리겠습니다."},
    });
}

TEST(ReplyGuardTest, KnowsShortDictations) {
    expectLanguages({
        {"en", "Tell him Thursday works"},
        {"de", "Sag ihm, Donnerstag passt"},
        {"fr", "Dis-lui que jeudi me va"},
        {"es", "Dile que el jueves me va bien"},
        {"it", "Digli che giovedì va bene"},
        {"nl", "Zeg maar dat donderdag goed is"},
        {"pl", "Powiedz mu, że czwartek pasuje"},
        {"sv", "Säg till honom att torsdag fungerar"},
        {"ru", "Скажи ему, что четверг подходит"},
        {"ja", "木曜日で大丈夫です"},
        {"zh", "告诉他星期四可以"},
        {"ko", "목요일 괜찮다고 해 줘"},
        {"el", "Πες του ότι η Πέμπτη είναι εντάξει"},
    });
}

TEST(ReplyGuardTest, VeryShortOrUnknownTextIsEnglish) {
    EXPECT_EQ(ReplyGuard::languageCode(QStringLiteral("ok")), "en");
    EXPECT_EQ(ReplyGuard::languageCode(QStringLiteral("👍")), "en");
    EXPECT_EQ(ReplyGuard::languageCode(QString()), "en");
    EXPECT_EQ(ReplyGuard::detectedLanguage(QStringLiteral("ok")), std::nullopt);
    // Hebrew is not a reply language: no guess among the others.
    EXPECT_EQ(ReplyGuard::languageCode(QStringLiteral("תודה רבה על החוזה, אקרא אותו הערב ואחזור אליך עד יום שישי.")), "en");
}

TEST(ReplyGuardTest, CutOffDraftEndsAtItsLastWholeSentence) {
    const QString whole = QStringLiteral("Thanks for the update. The numbers look right. ");
    const QString cutOff = whole + QStringLiteral("I will send the signed copy as soon as");
    // 87 characters are about 22 tokens: near a limit of 24, the unfinished sentence goes.
    EXPECT_EQ(ReplyGuard::guarded(cutOff, 24), QStringLiteral("Thanks for the update. The numbers look right."));
    // Far from the limit, a missing full stop is just how the user writes.
    EXPECT_EQ(ReplyGuard::guarded(cutOff, 300), cutOff);
    // A finished draft near the limit is left alone.
    EXPECT_EQ(ReplyGuard::guarded(whole.trimmed(), 13), whole.trimmed());
}

TEST(ReplyGuardTest, RunawayDraftIsCutToTheLimitButNeverToAFragment) {
    QString rambling;
    for (int i = 1; i <= 40; ++i)
        rambling += QStringLiteral("Point %1 is covered. ").arg(i);
    const QString guarded = ReplyGuard::guarded(rambling, 100);
    EXPECT_LE(ReplyGuard::estimatedTokens(guarded), 100);
    EXPECT_GE(ReplyGuard::estimatedTokens(guarded), 90);
    EXPECT_TRUE(guarded.endsWith(QStringLiteral("covered.")));
    // One long sentence cannot be cut anywhere sensible: it stays whole.
    const QString oneSentence = QStringLiteral("word ").repeated(200).trimmed();
    EXPECT_EQ(ReplyGuard::guarded(oneSentence, 100), oneSentence);
}

TEST(ReplyGuardTest, CountsTokensOfEastAsianScriptsPerCharacter) {
    EXPECT_EQ(ReplyGuard::estimatedTokens(QStringLiteral("abcdefgh")), 2);
    EXPECT_EQ(ReplyGuard::estimatedTokens(QStringLiteral("谢谢你把合同")), 6);
    EXPECT_EQ(ReplyGuard::estimatedTokens(QStringLiteral("계약서")), 3);
}

} // namespace
} // namespace lumeno
