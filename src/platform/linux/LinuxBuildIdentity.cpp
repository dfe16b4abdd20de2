#include "platform/linux/LinuxBuildIdentity.h"

#include "support/AtomicFile.h"

#include <QCryptographicHash>

namespace lumeno {

LinuxBuildIdentity::LinuxBuildIdentity(QString executablePath) : executablePath_(std::move(executablePath)) {}

QString LinuxBuildIdentity::version() const {
    return QStringLiteral(LUMENO_VERSION);
}

QString LinuxBuildIdentity::codeHash() const {
    if (!codeHash_) {
        const AtomicFile::ReadResult executable = AtomicFile::read(executablePath_);
        const auto* bytes = std::get_if<QByteArray>(&executable);
        codeHash_ =
            bytes ? QString::fromLatin1(QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex())
                  : QString();
    }
    return *codeHash_;
}

} // namespace lumeno
