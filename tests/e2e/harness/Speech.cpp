#include "e2e/harness/Speech.h"

#include <QProcess>

namespace lumeno::e2e {

bool speakInto(const QString& text, const QString& path) {
    QProcess espeak;
    espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-s"),
                                               QStringLiteral("150"), QStringLiteral("-w"), path, text});
    return espeak.waitForFinished(20000) && espeak.exitStatus() == QProcess::NormalExit && espeak.exitCode() == 0;
}

} // namespace lumeno::e2e
