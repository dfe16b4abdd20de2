#include "drafting/StyleStore.h"

#include "drafting/StyleEngine.h"
#include "foundation/SecretRedactor.h"
#include "foundation/SettingsStore.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Json.h"
#include "support/Log.h"
#include "support/Text.h"

namespace lumeno {

StyleStore::StyleStore(QString filePath, SettingsStore& settings, const Clock& clock, QObject* parent)
    : QObject(parent), filePath_(std::move(filePath)), settings_(settings), clock_(clock),
      disk_(Log::draft, QStringLiteral("Couldn't save style: %{public}s")) {
    load();
    applyLearnFromEditsDefault();
}

void StyleStore::load() {
    QString failure;
    const AtomicFile::ReadResult read = AtomicFile::read(filePath_);
    if (std::holds_alternative<AtomicFile::Missing>(read))
        return;
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&read)) {
        failure = unreadable->message;
    } else {
        const std::optional<QJsonValue> document = Json::parse(std::get<QByteArray>(read), &failure);
        if (document && !document->isObject())
            failure = QStringLiteral("style.json does not hold an object");
        else if (document)
            if (std::optional<StyleProfile> decoded = StyleProfile::fromJson(document->toObject(), &failure))
                profile_ = std::move(*decoded);
    }
    if (failure.isEmpty())
        return;
    // Start from the default profile, but keep the file: the first save moves it aside.
    Log::draft.error(QStringLiteral("Couldn't read style: %{public}s"), {failure});
    unreadableFileOnDisk_ = true;
}

void StyleStore::applyLearnFromEditsDefault() {
    if (settings_.learnFromEditsDefaultOn())
        return;
    StyleProfile next = profile_;
    next.learnFromEdits = true;
    setProfile(next);
    settings_.setLearnFromEditsDefaultOn(true);
}

void StyleStore::setProfile(const StyleProfile& profile) {
    if (profile == profile_)
        return;
    profile_ = profile;
    save();
    emit profileChanged();
}

void StyleStore::addLearnedExample(const QString& text) {
    const QString example = StyleEngine::shortened(
        Text::trimmed(SecretRedactor::redact(Text::trimmed(text)).text), maxExampleCharacters);
    if (example.isEmpty())
        return;
    StyleProfile next = profile_;
    next.learnedExamples.removeIf([&](const QString& kept) { return Text::canonicallyEqual(kept, example); });
    next.learnedExamples.append(example);
    if (next.learnedExamples.size() > maxLearnedExamples)
        next.learnedExamples.remove(0, next.learnedExamples.size() - maxLearnedExamples);
    setProfile(next);
}

void StyleStore::removeLearnedExample(int index) {
    if (index < 0 || index >= profile_.learnedExamples.size())
        return;
    StyleProfile next = profile_;
    next.learnedExamples.removeAt(index);
    setProfile(next);
}

void StyleStore::reset() {
    const StyleProfile defaults;
    StyleProfile next = profile_;
    next.learnedExamples.clear();
    next.length = defaults.length;
    next.tone = defaults.tone;
    next.formality = defaults.formality;
    const bool changed = next != profile_;
    profile_ = next;
    save();
    if (changed)
        emit profileChanged();
}

QString StyleStore::resolvedName() const {
    return profile_.resolvedName(accountName(), systemUserName());
}

QString StyleStore::resolvedSignName() const {
    return profile_.resolvedSignName(accountName(), systemUserName());
}

void StyleStore::save() {
    if (unreadableFileOnDisk_ && !moveUnreadableFileAside())
        return;
    disk_.save([path = filePath_, contents = Json::write(profile_.toJson())] {
        return AtomicFile::write(path, contents);
    });
}

bool StyleStore::moveUnreadableFileAside() {
    const auto moved = AtomicFile::moveAside(filePath_, clock_.now());
    if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&moved)) {
        Log::draft.error(QStringLiteral("Couldn't save style: the unreadable style file could not be moved "
                                        "aside: %{public}s"),
                         {failure->message});
        return false;
    }
    // A file removed since it was found unreadable needs no keeping.
    if (const auto* aside = std::get_if<QString>(&moved))
        Log::draft.info(QStringLiteral("Moved unreadable style to %{public}s"), {*aside});
    unreadableFileOnDisk_ = false;
    return true;
}

} // namespace lumeno
