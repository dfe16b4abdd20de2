#include "foundation/LabelledSecrets.h"

#include "foundation/SecretChecks.h"

#include <QStringList>

namespace lumeno {

namespace {

// Words that name a password or a key, in the languages people write replies in. They end compound names
// too (DB_PASSWORD, x-api-key, aws_secret_access_key): "_", "-" and "." are not letters.
constexpr char secretLabel[] =
    R"((?<![A-Za-z0-9]))"
    R"((?:pass(?:word|wd|phrase|code)|pwd|passwort|kennwort|contrase(?:ñ|n)a|mot de passe|wachtwoord)"
    R"(|l(?:ö|o)senord|passord|adgangskode|salasana|has(?:ł|l)o|heslo|geslo|lozinka|jelsz(?:ó|o)|senha|пароль|密码|密碼|パスワード|비밀번호)"
    R"(|(?:client[ _-]?)?secret|(?:api|access|secret|private|account|shared[ _-]?access|encryption|signing|master)[ _-]?key)"
    R"(|apikey|(?:(?:access|auth|refresh|session|id|api|bearer|oauth|csrf)[ _-]?)?token|credentials?))"
    R"((?![A-Za-z0-9_-]))";

// "Pass" names a password in credential lists ("User: bob, Pass: hunter2") but is also an ordinary verb
// ("I'll pass: too early"), so what follows it must look generated whatever the separator.
constexpr char weakSecretLabel[] = R"((?<![A-Za-z0-9])pass(?![A-Za-z0-9_-]))";

// Words that name a short numeric or alphanumeric code.
constexpr char codeLabel[] =
    R"((?<![A-Za-z0-9]))"
    R"((?:pin(?:[ _-]?(?:code|number|nummer))?|passcode|otp|cvv2?|cvc2?|your code)"
    R"(|(?:one[ -]?time|verification|security|confirmation|login|log[ -]?in|sign[ -]?in|auth(?:entication|orization)?))"
    R"([ _-]?(?:code|pin|passcode|password|number))"
    R"(|(?:2fa|two[ -]factor|mfa|access|backup|recovery|unlock|activation)[ _-]?(?:code|pin|passcode))"
    R"(|(?:bestätigungs|sicherheits|verifizierungs|anmelde)code|código de (?:verificación|seguridad|acceso))"
    R"(|code de (?:vérification|sécurité|confirmation)|codice di (?:verifica|sicurezza)))"
    R"((?![A-Za-z0-9_-]))";

// ":" or "=" (also ":=", "=>" and the full-width colon), with the closing quote of a quoted label. Taken
// whole: a ":=" given back as ":" would let a masked value behind it be read as "=[redacted".
constexpr char assignment[] = R"(["']?[ \t]*(?>:=|=>|[:=：])[ \t]*)";

// "is", "was", "is now", "has been changed to", in a few languages, optionally after a short phrase
// saying what the secret is for ("the password for the office wifi is ...").
constexpr char verb[] =
    R"((?:[ \t]+(?:for|to|of|on|at)(?:[ \t]+[^\s:=]+){1,3}?)?)"
    R"([ \t]+(?:(?:(?:is|was|has been|have been)[ \t]+)?(?:set|changed|reset|updated)[ \t]+to)"
    R"(|is|was|ist|lautet|est|es|era|é|är|er|je|jest|on)(?:[ \t]+(?:now|still|just|also))?[ \t]*:?[ \t]+)";

// A list separator (& ; ,) ends an unquoted value only where it separates: before white space, another
// separator, the end or the next parameter's name ("&limit=10", ";User Id=bob"). Any other is part of the
// value ("Tr0ub4dor&3").
constexpr char separates[] = R"((?=[\s"'`<>&;,]|\z|[A-Za-z0-9_.%\[\] -]++=))";

// A value that was already replaced, or shown masked, is not a secret. (%1: separates)
constexpr char notMasked[] = R"((?!(?:\[redacted\]|[*•●]+)[.!?:)\]}]*+(?:[\s"'`<>]|[&;,]%1|\z)))";

// A quoted value, which may hold spaces.
constexpr char quotedValue[] = R"re((?:"%1([^"\n]++)"|'%1([^'\n]++)'|`%1([^`\n]++)`))re";

// An unquoted value, up to white space, a quote, an angle bracket or a separator, without the sentence's
// closing punctuation (. ! ? : and closing brackets): up to its last other character, or its first when
// it is all punctuation. No character is looked at more than a few times. (%1: not masked, %2: separates)
constexpr char bareValue[] = R"(%1((?:[.!?:)\]}]*+(?:[^\s"'`&;,<>.!?:)\]}]|[&;,](?!%2)))++|[.!?:)\]}]))";

// A code of 3 to 12 letters and digits with at least one digit, or two groups of digits ("123 456").
constexpr char codeValue[] =
    R"(["']?([0-9]{3,4}[ -][0-9]{3,4}(?![A-Za-z0-9]|[ -][0-9])|(?=[A-Za-z]*[0-9])[A-Za-z0-9]{3,12}(?![A-Za-z0-9])))";

// "123456 is your verification code": the code comes first, as in most text messages that carry one.
constexpr char codeBeforeLabel[] =
    R"((?<![A-Za-z0-9])([0-9]{4,8})(?=[ \t]+is[ \t]+(?:your|the)[ \t]+(?:[^\s]+[ \t]+){0,3}?)"
    R"((?:code|pin|passcode|password|otp)(?![A-Za-z0-9])))";

// The text of a pattern: its pieces in order, case-insensitive (labels are written in any case).
QString pattern(std::initializer_list<QString> pieces) {
    QString text = QStringLiteral("(?i)");
    for (const QString& piece : pieces)
        text += piece;
    return text;
}

QString piece(const char* text) {
    return QString::fromUtf8(text);
}

// A separator: an assignment, a verb, or (for codes) a bare space.
QString either(std::initializer_list<QString> separators) {
    return QStringLiteral("(?:") + QStringList(separators).join(u'|') + QStringLiteral(")");
}

} // namespace

std::vector<SecretRule> LabelledSecrets::rules() {
    const QString masked = piece(notMasked).arg(piece(separates));
    const QString quoted = piece(quotedValue).arg(masked);
    const QString bare = piece(bareValue).arg(masked, piece(separates));
    const QString assigned = piece(assignment);
    const QString told = piece(verb);
    return {
        SecretRule::fixed("quoted secret behind a label",
                          pattern({piece(secretLabel), either({assigned, told}), quoted})),
        SecretRule::fixed("secret assigned to a label", pattern({piece(secretLabel), assigned, bare})),
        SecretRule::fixed("secret told in words", pattern({piece(secretLabel), told, bare}),
                          [](QStringView value) { return SecretChecks::looksGenerated(value); }),
        SecretRule::fixed("secret behind a weak label",
                          pattern({piece(weakSecretLabel), either({assigned, told}), bare}),
                          [](QStringView value) { return SecretChecks::looksGenerated(value); }),
        SecretRule::fixed("code behind a label",
                          pattern({piece(codeLabel), either({assigned, told, QStringLiteral(R"([ \t]+)")}),
                                   piece(codeValue)})),
        SecretRule::fixed("code before its label", pattern({piece(codeBeforeLabel)})),
    };
}

} // namespace lumeno
