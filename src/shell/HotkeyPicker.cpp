#include "shell/HotkeyPicker.h"

#include "ui/ProblemLabel.h"
#include "ui/TextLabel.h"
#include "foundation/KeyboardLayout.h"
#include "foundation/SettingsStore.h"
#include "platform/KeyboardLayoutSource.h"
#include "platform/VirtualKeyCodes.h"
#include "shell/ShortcutRecorder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int labelWidth = 110;

// The single keys, named as the current layout names them; the last entry is "Key combination…".
constexpr std::array<std::optional<ModifierKey>, 5> choices = {
    ModifierKey::rightOption, ModifierKey::rightCommand, ModifierKey::rightControl, ModifierKey::fn, std::nullopt};

int indexOf(const Hotkey& hotkey) {
    for (int i = 0; i < int(choices.size()); ++i)
        if (choices[i] == hotkey.modifierKey())
            return i;
    return int(choices.size()) - 1;
}

constexpr quint64 comboModifiers =
    VirtualKey::shiftFlag | VirtualKey::controlFlag | VirtualKey::optionFlag | VirtualKey::commandFlag;
constexpr quint64 typingSafeModifiers = VirtualKey::controlFlag | VirtualKey::optionFlag | VirtualKey::commandFlag;

QWidget* labelledRow(const QString& label, QWidget* parent, QHBoxLayout*& fields) {
    auto* row = new QWidget(parent);
    fields = new QHBoxLayout(row);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(10);
    auto* name = new TextLabel(label, row);
    name->setFixedWidth(labelWidth);
    fields->addWidget(name);
    return row;
}

} // namespace

HotkeyPicker::HotkeyPicker(SettingsStore& settings, const KeyboardLayout& layout, Apply apply, Refusal refusal,
                           QWidget* parent)
    : QWidget(parent), settings_(settings), layout_(layout), apply_(std::move(apply)), refusal_(std::move(refusal)),
      recorder_(new ShortcutRecorder(layout.source(), this)) {
    setObjectName(QStringLiteral("hotkeyPicker"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    QHBoxLayout* fields = nullptr;
    column->addWidget(labelledRow(QStringLiteral("Reply hotkey"), this, fields));
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("replyHotkey"));
    choice_->setAccessibleName(QStringLiteral("Reply hotkey"));
    for (size_t i = 0; i < choices.size(); ++i)
        choice_->addItem(QString());
    fields->addWidget(choice_, 1);
    // `activated`, not `currentIndexChanged`: choosing the same modifier again re-applies it.
    connect(choice_, &QComboBox::activated, this, &HotkeyPicker::choose);

    shortcutRow_ = labelledRow(QStringLiteral("Shortcut"), this, fields);
    shortcutRow_->setObjectName(QStringLiteral("shortcutRow"));
    combination_ = new QLabel(shortcutRow_);
    combination_->setObjectName(QStringLiteral("combination"));
    combination_->setFont(TypeScale::monospaced(13));
    combination_->setTextFormat(Qt::PlainText);
    fields->addWidget(combination_, 1);
    change_ = new QPushButton(shortcutRow_);
    change_->setObjectName(QStringLiteral("change"));
    connect(change_, &QPushButton::clicked, this, &HotkeyPicker::startRecording);
    fields->addWidget(change_);
    prompt_ = new TextLabel(QStringLiteral("Press the shortcut… (Esc cancels)"), shortcutRow_,
                            Hierarchy::secondary);
    prompt_->setObjectName(QStringLiteral("recordingPrompt"));
    fields->addWidget(prompt_, 1);
    column->addWidget(shortcutRow_);

    problemLabel_ = new ProblemLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problem"));
    column->addWidget(problemLabel_);

    keyNote_ = new TextLabel(QString(), this, Hierarchy::secondary, TypeScale::font(12));
    keyNote_->setObjectName(QStringLiteral("keyNote"));
    keyNote_->setWordWrap(true);
    column->addWidget(keyNote_);

    connect(recorder_, &ShortcutRecorder::keyRecorded, this, &HotkeyPicker::record);
    connect(&settings_, &SettingsStore::hotkeyChanged, this, &HotkeyPicker::showHotkey);
    connect(&layout_.source(), &KeyboardLayoutSource::changed, this, &HotkeyPicker::showChoices);
    setProblem(std::nullopt);
    showChoices();
}

bool HotkeyPicker::isRecording() const {
    return recorder_->isRecording();
}

void HotkeyPicker::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    stopRecording();
}

void HotkeyPicker::choose(int index) {
    setProblem(std::nullopt);
    if (const std::optional<ModifierKey> modifier = choices[index]) {
        stopRecording();
        setProblem(apply_(Hotkey::modifier(*modifier)));
    } else {
        startRecording();
    }
    showHotkey();
}

void HotkeyPicker::startRecording() {
    stopRecording();
    setProblem(std::nullopt);
    recorder_->start();
    showHotkey();
}

void HotkeyPicker::stopRecording() {
    recorder_->stop();
    showHotkey();
}

void HotkeyPicker::record(const RecordedKey& key) {
    const quint64 held = key.modifiers & comboModifiers;
    if (key.keyCode == VirtualKey::escape && held == 0) {
        stopRecording();
        return;
    }
    if ((held & typingSafeModifiers) == 0 && !KeyboardLayout::isFunctionKey(key.keyCode)) {
        setProblem(QStringLiteral("Use Ctrl, Alt or Super with a key (or a function key) so the shortcut can't "
                                  "swallow normal typing."));
        return;
    }
    stopRecording();
    setProblem(apply_(Hotkey::combo(KeyCombo{key.keyCode, held})));
    showHotkey();
}

void HotkeyPicker::setProblem(std::optional<QString> problem) {
    problem_ = std::move(problem);
    problemLabel_->setProblem(problem_);
}

void HotkeyPicker::showHotkey() {
    const Hotkey& hotkey = settings_.hotkey();
    const bool recording = recorder_->isRecording();
    {
        // While recording a first combination the picker already shows "Key combination…".
        const QSignalBlocker quiet(choice_);
        choice_->setCurrentIndex(recording ? int(choices.size()) - 1 : indexOf(hotkey));
    }
    const std::optional<KeyCombo> combo = hotkey.keyCombo();
    shortcutRow_->setVisible(combo.has_value() || recording);
    combination_->setVisible(combo.has_value());
    change_->setVisible(combo.has_value());
    prompt_->setVisible(!combo.has_value() && recording);
    if (combo)
        combination_->setText(combo->displayString(layout_));
    change_->setText(recording ? QStringLiteral("Press the shortcut…") : QStringLiteral("Change…"));
    change_->setEnabled(!recording);
    const std::optional<QString> note = keyNote();
    keyNote_->setText(note.value_or(QString()));
    keyNote_->setVisible(note.has_value());
}

void HotkeyPicker::showChoices() {
    auto* model = qobject_cast<QStandardItemModel*>(choice_->model());
    for (size_t i = 0; i < choices.size(); ++i) {
        QStandardItem* item = model->item(int(i));
        const std::optional<ModifierKey> modifier = choices[i];
        if (!modifier) {
            item->setText(QStringLiteral("Key combination…"));
            continue;
        }
        const std::optional<QString> refused = refusal_(*modifier);
        item->setText(layout_.displayName(keyCode(*modifier)));
        item->setEnabled(!refused);
        item->setToolTip(refused.value_or(QString()));
    }
    showHotkey();
}

std::optional<QString> HotkeyPicker::keyNote() const {
    if (const std::optional<ModifierKey> current = settings_.hotkey().modifierKey()) {
        if (const std::optional<QString> refused = refusal_(*current))
            return refused;
        // Even where the desktop reports fn, many keyboards answer it in their own firmware.
        if (*current == ModifierKey::fn)
            return QStringLiteral("Many keyboards handle fn themselves and never report it: if holding fn does "
                                  "nothing, pick another key.");
    }
    // Right Alt greyed out as AltGr needs its reason in plain sight, not only in a help text.
    for (const std::optional<ModifierKey>& modifier : choices)
        if (modifier && layout_.isTypingKey(keyCode(*modifier)))
            return refusal_(*modifier);
    return std::nullopt;
}

} // namespace lumeno
