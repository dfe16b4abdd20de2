#pragma once

#include "updates/UpdateProblem.h"

#include <QByteArrayView>
#include <memory>
#include <optional>
#include <variant>

namespace lumeno {

// An archive as it downloads: a file without a name in the folder that holds the install, so it is on the
// file system the update is unpacked to, and the system frees it once it is closed: a cancelled, failed or
// killed download leaves nothing behind. Created, read and closed on a worker; written on the event loop,
// one network piece at a time.
class DownloadFile {
public:
    using Created = std::variant<std::shared_ptr<DownloadFile>, UpdateProblem>;

    // Reserves `length` bytes beside `installDirectory`; the problem when there is no room or no way to write.
    static Created create(const QString& installDirectory, qint64 length);
    ~DownloadFile();
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // Adds a piece at the end; false when the disk refused it (writeProblem() says why). Nothing is added
    // after the file is mapped.
    bool append(QByteArrayView piece);
    qint64 size() const { return size_; }
    const std::optional<UpdateProblem>& writeProblem() const { return writeProblem_; }

    // What was written, mapped read-only: its pages come from the file as they are read, never the heap.
    // Mapped once and kept until the file is closed; none when it cannot be mapped (or nothing was written).
    std::optional<QByteArrayView> mapped();
    // The open file, for reading from its start.
    int descriptor() const { return descriptor_; }

private:
    explicit DownloadFile(int descriptor) : descriptor_(descriptor) {}

    int descriptor_ = -1;
    qint64 size_ = 0;
    std::optional<UpdateProblem> writeProblem_;
    void* mapping_ = nullptr;
};

} // namespace lumeno
