#include "drafting/LanguageDetector.h"

#include <cstdio> // the detector's header uses FILE without including it
#include <compact_lang_det.h>
#include <encodings.h>

#include <QHash>

#include <array>

namespace lumeno {
namespace {

// Below this many letters an unreliable guess is no answer (one or two words say little).
constexpr int minimumLettersForAGuess = 16;

// The detector's codes that differ from ours, and close relatives it reports for short texts in ours.
QString ourCode(const QString& detectorCode, const QStringList& allowed) {
    static const QHash<QString, QString> renamed{
        {QStringLiteral("iw"), QStringLiteral("he")},   {QStringLiteral("zh-Hant"), QStringLiteral("zh")},
        {QStringLiteral("nb"), QStringLiteral("no")},   {QStringLiteral("nn"), QStringLiteral("no")},
        {QStringLiteral("sr-ME"), QStringLiteral("sr")}, {QStringLiteral("tl"), QStringLiteral("fil")},
    };
    static const QHash<QString, QString> relatives{
        {QStringLiteral("gl"), QStringLiteral("es")}, {QStringLiteral("bs"), QStringLiteral("hr")},
        {QStringLiteral("sr"), QStringLiteral("hr")}, {QStringLiteral("hr"), QStringLiteral("sr")},
        {QStringLiteral("ms"), QStringLiteral("id")}, {QStringLiteral("id"), QStringLiteral("ms")},
        {QStringLiteral("da"), QStringLiteral("no")}, {QStringLiteral("no"), QStringLiteral("da")},
    };
    const QString code = renamed.value(detectorCode, detectorCode);
    if (allowed.contains(code))
        return code;
    const QString relative = relatives.value(code);
    return allowed.contains(relative) ? relative : QString();
}

int letterCount(const QString& text) {
    int letters = 0;
    for (const QChar c : text)
        letters += c.isLetter() ? 1 : 0;
    return letters;
}

} // namespace

std::optional<QString> LanguageDetector::detect(const QString& text, const QStringList& allowedCodes) {
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty())
        return std::nullopt;
    std::array<CLD2::Language, 3> languages{};
    std::array<int, 3> percents{};
    std::array<double, 3> scores{};
    int textBytes = 0;
    bool reliable = false;
    const CLD2::CLDHints hints{nullptr, nullptr, CLD2::UNKNOWN_ENCODING, CLD2::UNKNOWN_LANGUAGE};
    CLD2::ExtDetectLanguageSummary(utf8.constData(), int(utf8.size()), true, &hints, CLD2::kCLDFlagBestEffort,
                                   languages.data(), percents.data(), scores.data(), nullptr, &textBytes,
                                   &reliable);
    if (!reliable && letterCount(text) < minimumLettersForAGuess)
        return std::nullopt;
    // The top three come in order of share; the first one we know wins.
    for (std::size_t i = 0; i < languages.size(); ++i) {
        if (languages[i] == CLD2::UNKNOWN_LANGUAGE || percents[i] == 0)
            continue;
        const QString code = ourCode(QString::fromLatin1(CLD2::LanguageCode(languages[i])), allowedCodes);
        if (!code.isEmpty())
            return code;
    }
    return std::nullopt;
}

} // namespace lumeno
