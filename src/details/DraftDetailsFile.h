#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace lumeno {

// draft-details.jsonl on disk, one line per record id: blocking file work that the store runs off the main
// thread, one piece at a time. Lines that do not decode are kept; a file that cannot be read or is not
// UTF-8 is moved aside before a save replaces it.
class DraftDetailsFile {
public:
    static constexpr int linesKept = 100;

    // The file's non-empty lines (none: an empty list); none with the reason when it exists but cannot be
    // read as UTF-8 text.
    static std::optional<QStringList> lines(const QString& path, QString* failure);
    // Puts `encoded` as the last line in place of the line of record `id`, keeping the last 100 lines.
    // `now` dates a file moved aside. True when the file was written (failures are logged).
    static bool save(const QString& path, const QUuid& id, const QByteArray& encoded, const QDateTime& now);
    // Removes the file and the copies moved aside, which hold the same prompts and conversations.
    static void remove(const QString& path);
};

} // namespace lumeno
