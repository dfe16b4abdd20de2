#include "drafting/Salutations.h"

#include "support/Regex.h"
#include "support/Text.h"

#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace lumeno {
namespace {

// Words that open a message, in the reply languages. Longer forms come before their prefixes.
const QStringList& greetingWords() {
    static const QStringList words{
        // English
        "good morning", "good afternoon", "good evening", "hi there", "hello there", "hey there", "greetings",
        "hello", "hiya", "heya", "hey", "hi", "dear",
        // German
        "sehr geehrte damen und herren", "sehr geehrter", "sehr geehrte", "guten morgen", "guten tag",
        "guten abend", "liebe", "lieber", "hallo", "moin", "servus", "grüß gott",
        // French
        "bonjour", "bonsoir", "salut", "chère", "chères", "cher", "chers", "madame", "monsieur",
        // Spanish, Italian, Portuguese
        "buenos días", "buenas tardes", "buenas noches", "buenas", "estimados", "estimadas", "estimado", "estimada",
        "queridos", "querido", "querida", "hola", "buongiorno", "buonasera", "gentilissimo", "gentilissima",
        "gentile", "egregio", "carissimo", "carissima", "caro", "cara", "ciao", "salve", "bom dia", "boa tarde",
        "boa noite", "prezados", "prezado", "prezada", "olá", "oi",
        // Dutch, Nordic
        "goedemorgen", "goedemiddag", "geachte", "beste", "hoi", "hej", "hei", "moi", "kära", "käre",
        "kære", "kjære", "hyvä",
        // Central and Eastern Europe
        "dzień dobry", "szanowny", "szanowna", "szanowni", "cześć", "witam", "dobrý den", "dobrý deň", "vážený",
        "vážená", "ahoj", "milý", "milá", "dobar dan", "dober dan", "poštovani", "poštovana", "spoštovani",
        "zdravo", "bok", "živjo", "draga", "dragi", "kedves", "tisztelt", "szia", "bună ziua", "bună", "dragă",
        "stimate", "stimată",
        // Cyrillic, Greek, Turkish
        "здравствуйте", "добрый день", "доброе утро", "привет", "уважаемый", "уважаемая", "дорогой", "дорогая",
        "доброго дня", "вітаю", "привіт", "шановний", "шановна", "здраво", "поштовани", "драги", "драга",
        "καλημέρα", "καλησπέρα", "αγαπητέ", "αγαπητή", "γεια σου", "γεια σας", "γεια", "merhaba", "sayın",
        "selam", "iyi günler",
        // Arabic, Hebrew, East Asia
        "مرحبا", "عزيزي", "عزيزتي", "السلام عليكم", "שלום", "היי", "こんにちは", "안녕하세요", "您好", "你好",
    };
    return words;
}

struct ClosingPhrase {
    const char* phrase;
    const char* language;
};

// Sign-offs, each with its language: an English closing is replaced by the user's own sign-off, one in
// another language is kept because the whole reply is in that language.
const std::vector<ClosingPhrase>& closingPhrases() {
    static const std::vector<ClosingPhrase> phrases{
        {"best regards", "en"}, {"kind regards", "en"}, {"warm regards", "en"}, {"warmest regards", "en"},
        {"many thanks", "en"}, {"thanks again", "en"}, {"thanks so much", "en"}, {"thank you", "en"},
        {"thanks", "en"}, {"best wishes", "en"}, {"all the best", "en"}, {"all best", "en"}, {"best", "en"},
        {"regards", "en"}, {"cheers", "en"}, {"yours sincerely", "en"}, {"sincerely yours", "en"},
        {"sincerely", "en"}, {"yours truly", "en"}, {"yours faithfully", "en"}, {"take care", "en"},
        {"talk soon", "en"}, {"speak soon", "en"}, {"with thanks", "en"}, {"respectfully", "en"},
        {"mit freundlichen grüßen", "de"}, {"mit besten grüßen", "de"}, {"freundliche grüße", "de"},
        {"viele grüße", "de"}, {"beste grüße", "de"}, {"liebe grüße", "de"}, {"herzliche grüße", "de"},
        {"schöne grüße", "de"}, {"vielen dank", "de"}, {"grüße", "de"}, {"gruß", "de"}, {"danke", "de"},
        {"bis bald", "de"}, {"mfg", "de"}, {"lg", "de"}, {"vg", "de"},
        {"bien cordialement", "fr"}, {"cordialement", "fr"}, {"bien à vous", "fr"}, {"bien à toi", "fr"},
        {"amicalement", "fr"}, {"sincères salutations", "fr"}, {"salutations", "fr"}, {"à bientôt", "fr"},
        {"merci beaucoup", "fr"}, {"merci", "fr"}, {"bonne journée", "fr"}, {"bises", "fr"},
        {"saludos cordiales", "es"}, {"un saludo", "es"}, {"saludos", "es"}, {"un abrazo", "es"},
        {"abrazos", "es"}, {"atentamente", "es"}, {"muchas gracias", "es"}, {"gracias", "es"},
        {"hasta pronto", "es"},
        {"cordiali saluti", "it"}, {"distinti saluti", "it"}, {"un saluto", "it"}, {"saluti", "it"},
        {"un abbraccio", "it"}, {"grazie mille", "it"}, {"grazie", "it"}, {"a presto", "it"},
        {"melhores cumprimentos", "pt"}, {"cumprimentos", "pt"}, {"atenciosamente", "pt"}, {"um abraço", "pt"},
        {"abraços", "pt"}, {"abraço", "pt"}, {"obrigado", "pt"}, {"obrigada", "pt"}, {"até breve", "pt"},
        {"met vriendelijke groet", "nl"}, {"met vriendelijke groeten", "nl"}, {"vriendelijke groet", "nl"},
        {"hartelijke groet", "nl"}, {"groetjes", "nl"}, {"groeten", "nl"}, {"groet", "nl"}, {"bedankt", "nl"},
        {"med vänlig hälsning", "sv"}, {"vänliga hälsningar", "sv"}, {"hälsningar", "sv"}, {"tack", "sv"},
        {"med vennlig hilsen", "no"}, {"vennlig hilsen", "no"}, {"hilsen", "no"}, {"takk", "no"},
        {"med venlig hilsen", "da"}, {"venlig hilsen", "da"}, {"bedste hilsner", "da"}, {"mvh", "no"},
        {"ystävällisin terveisin", "fi"}, {"terveisin", "fi"}, {"kiitos", "fi"},
        {"z poważaniem", "pl"}, {"serdecznie pozdrawiam", "pl"}, {"pozdrawiam", "pl"}, {"dziękuję", "pl"},
        {"s pozdravem", "cs"}, {"děkuji", "cs"}, {"s pozdravom", "sk"}, {"ďakujem", "sk"},
        {"üdvözlettel", "hu"}, {"köszönöm", "hu"}, {"üdv", "hu"},
        {"cu stimă", "ro"}, {"cu drag", "ro"}, {"mulțumesc", "ro"},
        {"lep pozdrav", "sl"}, {"lp", "sl"}, {"lijep pozdrav", "hr"}, {"srdačan pozdrav", "hr"},
        {"s poštovanjem", "hr"}, {"pozdrav", "hr"}, {"hvala", "hr"}, {"срдачан поздрав", "sr"},
        {"с уважением", "ru"}, {"всего доброго", "ru"}, {"спасибо", "ru"}, {"з повагою", "uk"}, {"дякую", "uk"},
        {"saygılarımla", "tr"}, {"teşekkürler", "tr"}, {"sevgiler", "tr"},
        {"με εκτίμηση", "el"}, {"ευχαριστώ", "el"}, {"φιλικά", "el"},
        {"مع التحية", "ar"}, {"مع خالص التحية", "ar"}, {"בברכה", "he"}, {"תודה", "he"},
        {"よろしくお願いします", "ja"}, {"よろしくお願いいたします", "ja"}, {"감사합니다", "ko"}, {"谢谢", "zh"},
        {"此致", "zh"},
    };
    return phrases;
}

// An alternation of `phrases`, longest first so that "best regards" wins over "best"; spaces match any run
// of horizontal white space.
QString alternation(QStringList phrases) {
    std::stable_sort(phrases.begin(), phrases.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
    QStringList escaped;
    for (const QString& phrase : std::as_const(phrases)) {
        QStringList words;
        for (const QString& word : phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            words.append(QStringLiteral("\\Q%1\\E").arg(word));
        escaped.append(words.join(QStringLiteral("[ \\t]+")));
    }
    return escaped.join(QLatin1Char('|'));
}

const Regex& greetingPattern() {
    // The greeting, up to three name words, then a comma, "!" or ":" (or the end of the line), then the rest.
    static const Regex pattern = Regex::fixed(
        QStringLiteral("^[ \\t]*((?i:%1)(?:[ \\t]+[\\p{L}\\p{M}][\\p{L}\\p{M}.'’\\-]*){0,3}[ \\t]*(?:[,!:،]|$))"
                       "[ \\t]*(.*)$")
            .arg(alternation(greetingWords())));
    return pattern;
}

const Regex& closingPattern() {
    static const Regex pattern = [] {
        QStringList phrases;
        for (const ClosingPhrase& entry : closingPhrases())
            phrases.append(QString::fromUtf8(entry.phrase));
        // The phrase, punctuation, then at most three capitalised name words.
        return Regex::fixed(
            QStringLiteral("^[ \\t]*((?i:%1)[ \\t]*[,.!]*)[ \\t]*"
                           "(\\p{Lu}[\\p{L}\\p{M}.'’\\-]*(?:[ \\t]+\\p{Lu}[\\p{L}\\p{M}.'’\\-]*){0,2})?[ \\t]*[.!]?[ \\t]*$")
                .arg(alternation(phrases)));
    }();
    return pattern;
}

QString languageOf(const QString& phrase) {
    static const Regex punctuation = Regex::fixed(QStringLiteral("[,.!]+$"));
    const QString spaced = punctuation.replaceAll(phrase.simplified(), QString());
    for (const ClosingPhrase& entry : closingPhrases())
        if (Text::equalIgnoringCase(spaced, QString::fromUtf8(entry.phrase)))
            return QString::fromLatin1(entry.language);
    return QStringLiteral("en");
}

} // namespace

std::optional<Salutations::Greeting> Salutations::greeting(const QString& line) {
    const std::optional<RegexMatch> match = greetingPattern().firstMatch(line);
    if (!match)
        return std::nullopt;
    return Greeting{Text::trimmed(match->captured(line, 1)), Text::trimmed(match->captured(line, 2))};
}

std::optional<Salutations::Closing> Salutations::closing(const QString& line) {
    if (line.size() > 60)
        return std::nullopt;
    const std::optional<RegexMatch> match = closingPattern().firstMatch(line);
    if (!match)
        return std::nullopt;
    const QString phrase = match->captured(line, 1).simplified();
    return Closing{phrase, languageOf(phrase), Text::trimmed(match->captured(line, 2))};
}

} // namespace lumeno
