#include "details/DraftDetailsStore.h"

#include "details/DraftDetailsLine.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Json.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace lumeno {

namespace {

// None when the bytes are not valid UTF-8.
std::optional<QString> utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QStringList nonEmptyLines(const QString& text) {
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

DraftDetailsStore::DraftDetailsStore(QString filePath, const Clock& clock, QObject* parent)
    : QObject(parent), filePath_(std::move(filePath)), clock_(clock), hasSavedFile_(QFileInfo::exists(filePath_)) {}

void DraftDetailsStore::setSessions(QList<DraftDetails> sessions) {
    if (sessions == sessions_)
        return;
    sessions_ = std::move(sessions);
    emit sessionsChanged();
}

void DraftDetailsStore::setHasSavedFile(bool has) {
    if (has == hasSavedFile_)
        return;
    hasSavedFile_ = has;
    emit hasSavedFileChanged();
}

std::optional<QStringList> DraftDetailsStore::savedLines(QString* failure) const {
    const AtomicFile::ReadResult read = AtomicFile::read(filePath_);
    if (std::holds_alternative<AtomicFile::Missing>(read))
        return QStringList();
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&read)) {
        *failure = unreadable->message;
        return std::nullopt;
    }
    const std::optional<QString> text = utf8Text(std::get<QByteArray>(read));
    if (!text) {
        *failure = QStringLiteral("the file is not UTF-8 text");
        return std::nullopt;
    }
    return nonEmptyLines(*text);
}

void DraftDetailsStore::loadSaved() {
    if (!sessions_.isEmpty())
        return;
    QString failure;
    const std::optional<QStringList> lines = savedLines(&failure);
    if (!lines)
        return;
    QList<DraftDetails> loaded;
    for (const QString& line : *lines)
        if (std::optional<DraftDetails> details = DraftDetailsLine::decode(line.toUtf8()))
            loaded.append(std::move(*details));
    // Reversed file order, then a stable sort by date: between equal dates the later line comes first.
    std::reverse(loaded.begin(), loaded.end());
    std::stable_sort(loaded.begin(), loaded.end(),
                     [](const DraftDetails& a, const DraftDetails& b) { return a.date > b.date; });
    setSessions(loaded.mid(0, sessionsKept));
}

void DraftDetailsStore::record(const DraftDetails& details, bool toDisk) {
    QList<DraftDetails> next = sessions_;
    next.removeIf([&details](const DraftDetails& kept) { return kept.id == details.id; });
    next.prepend(details);
    setSessions(next.mid(0, sessionsKept));
    if (toDisk)
        save(details);
}

void DraftDetailsStore::update(const QUuid& id, bool toDisk, const std::function<void(DraftDetails&)>& change) {
    const auto found =
        std::find_if(sessions_.cbegin(), sessions_.cend(), [&id](const DraftDetails& kept) { return kept.id == id; });
    if (found == sessions_.cend())
        return;
    QList<DraftDetails> next = sessions_;
    DraftDetails& changed = next[found - sessions_.cbegin()];
    change(changed);
    const DraftDetails saved = changed;
    setSessions(std::move(next));
    if (toDisk)
        save(saved);
}

void DraftDetailsStore::deleteSavedFile() {
    // Copies moved aside earlier hold the same prompts and conversations: the user asked for them gone too.
    AtomicFile::remove(filePath_);
    AtomicFile::removeCopiesAside(filePath_);
    setHasSavedFile(false);
}

void DraftDetailsStore::save(const DraftDetails& details) {
    const std::optional<QByteArray> encoded = DraftDetailsLine::encode(details);
    if (!encoded)
        return;
    QString failure;
    std::optional<QStringList> lines = savedLines(&failure);
    if (!lines) {
        // Whatever is there was not written by us as we know it: keep it beside the new file.
        if (!moveUnreadableFileAside())
            return;
        lines = QStringList();
    }
    // Text values escape their quotation marks, so only a record's own top-level id matches this.
    const QString marker = QStringLiteral("\"id\":\"%1\"").arg(Json::uuid(details.id).toString());
    lines->removeIf([&marker](const QString& line) { return line.contains(marker); });
    lines->append(QString::fromUtf8(*encoded));
    if (lines->size() > linesKept)
        lines->remove(0, lines->size() - linesKept);
    const QByteArray content = (lines->join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (const std::optional<QString> writeFailure = AtomicFile::write(filePath_, content)) {
        Log::app.error(QStringLiteral("Couldn't save draft details: %{public}s"), {*writeFailure});
        return;
    }
    QFile::setPermissions(filePath_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    setHasSavedFile(true);
}

bool DraftDetailsStore::moveUnreadableFileAside() {
    const auto moved = AtomicFile::moveAside(filePath_, clock_.now());
    if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&moved)) {
        Log::app.error(QStringLiteral("Couldn't save draft details: the unreadable file could not be moved "
                                      "aside: %{public}s"),
                       {failure->message});
        return false;
    }
    if (const auto* aside = std::get_if<QString>(&moved))
        Log::app.info(QStringLiteral("Moved unreadable draft details to %{public}s"), {QFileInfo(*aside).fileName()});
    return true;
}

} // namespace lumeno
