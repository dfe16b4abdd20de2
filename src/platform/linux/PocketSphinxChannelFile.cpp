#include "platform/linux/PocketSphinxChannelFile.h"

#include "support/AtomicFile.h"

#include <QStringList>

#include <cmath>

namespace lumeno::PocketSphinxChannelFile {

std::optional<std::vector<float>> read(const QString& path, size_t size) {
    const AtomicFile::ReadResult contents = AtomicFile::read(path);
    const QByteArray* bytes = std::get_if<QByteArray>(&contents);
    if (!bytes)
        return std::nullopt;
    const QStringList fields = QString::fromLatin1(bytes->trimmed()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (size_t(fields.size()) != size)
        return std::nullopt;
    std::vector<float> mean;
    for (const QString& field : fields) {
        bool ok = false;
        const float value = field.toFloat(&ok);
        if (!ok || !std::isfinite(value))
            return std::nullopt;
        mean.push_back(value);
    }
    return mean;
}

std::optional<QString> write(const QString& path, const std::vector<float>& mean) {
    QStringList fields;
    for (const float value : mean)
        fields.push_back(QString::number(value, 'g', 9));
    return AtomicFile::write(path, fields.join(QLatin1Char(' ')).toLatin1() + '\n');
}

} // namespace lumeno::PocketSphinxChannelFile
