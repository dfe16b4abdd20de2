#include "shell/MoreSettingsView.h"

#include "ui/SettingsSection.h"
#include "ui/TextLabel.h"
#include "drafting/StyleStore.h"
#include "foundation/ReplyLanguage.h"
#include "foundation/SettingsStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QCheckBox* toggle(const QString& title, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(title, parent);
    box->setObjectName(name);
    return box;
}

QWidget* buttonRow(QPushButton* button, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    layout->addStretch(1);
    return row;
}

} // namespace

MoreSettingsView::MoreSettingsView(SettingsStore& settings, StyleStore& style, QWidget* parent)
    : QWidget(parent), settings_(settings), style_(style) {
    setObjectName(QStringLiteral("moreSettings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(18);
    layout->addWidget(languageSection());
    layout->addWidget(behaviourSection());
    layout->addWidget(debugSection());
    layout->addWidget(resetSection());
    layout->addStretch(1);

    for (auto changed : {&SettingsStore::speechLocaleIDChanged, &SettingsStore::readsConversationChanged,
                         &SettingsStore::isPausedChanged, &SettingsStore::showsDraftDetailsChanged,
                         &SettingsStore::savesDraftDetailsChanged})
        connect(&settings_, changed, this, &MoreSettingsView::showSettings);
    showSettings();
}

QString MoreSettingsView::languageName(const SettingsStore& settings) {
    const QString code = ReplyLanguage::codeMatching(settings.speechLocaleID()).value_or(QStringLiteral("en"));
    if (const std::optional<ReplyLanguage> language = ReplyLanguage::withCode(code))
        return language->name;
    return settings.speechLanguageName();
}

QWidget* MoreSettingsView::languageSection() {
    auto* section = new SettingsSection({}, this);
    language_ = new TextLabel({}, section, Hierarchy::secondary);
    language_->setObjectName(QStringLiteral("language"));
    language_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    section->addRow(QStringLiteral("Language"), language_);
    section->setFooter(QStringLiteral("Speech stays on this computer."));
    return section;
}

QWidget* MoreSettingsView::behaviourSection() {
    auto* section = new SettingsSection({}, this);
    readsConversation_ = toggle(QStringLiteral("Use the conversation on screen"), QStringLiteral("readsConversation"), section);
    connect(readsConversation_, &QCheckBox::toggled, this, [this](bool on) { settings_.setReadsConversation(on); });
    section->addRow(readsConversation_);
    paused_ = toggle(QStringLiteral("Pause Lumeno"), QStringLiteral("paused"), section);
    connect(paused_, &QCheckBox::toggled, this, [this](bool on) { settings_.setPaused(on); });
    section->addRow(paused_);
    return section;
}

QWidget* MoreSettingsView::debugSection() {
    auto* section = new SettingsSection({}, this);
    showsDraftDetails_ = toggle(QStringLiteral("Debug window"), QStringLiteral("showsDraftDetails"), section);
    connect(showsDraftDetails_, &QCheckBox::toggled, this, [this](bool on) {
        emit showsDraftDetailsToggled(on);
        showSettings(); // the switch shows the setting, whatever the callback made of it
    });
    section->addRow(showsDraftDetails_);
    savesDraftDetails_ = toggle(QStringLiteral("Save details to disk"), QStringLiteral("savesDraftDetails"), section);
    connect(savesDraftDetails_, &QCheckBox::toggled, this, [this](bool on) {
        emit savesDraftDetailsToggled(on);
        showSettings();
    });
    savesRow_ = section->addRow(savesDraftDetails_);
    auto* open = new QPushButton(QStringLiteral("Open Debug Window"), section);
    open->setObjectName(QStringLiteral("openDebugWindow"));
    connect(open, &QPushButton::clicked, this, &MoreSettingsView::draftDetailsRequested);
    openRow_ = section->addRow(buttonRow(open, section));
    return section;
}

QWidget* MoreSettingsView::resetSection() {
    auto* section = new SettingsSection({}, this);
    auto* reset = new QPushButton(QStringLiteral("Reset Style…"), section);
    reset->setObjectName(QStringLiteral("resetStyle"));
    QPalette warning = reset->palette();
    warning.setColor(QPalette::ButtonText, QColor(0xd7, 0x26, 0x1e));
    reset->setPalette(warning);
    connect(reset, &QPushButton::clicked, this, &MoreSettingsView::confirmReset);
    section->addRow(buttonRow(reset, section));
    return section;
}

void MoreSettingsView::showSettings() {
    language_->setText(languageName(settings_));
    const QSignalBlocker a(readsConversation_), b(paused_), c(showsDraftDetails_), d(savesDraftDetails_);
    readsConversation_->setChecked(settings_.readsConversation());
    paused_->setChecked(settings_.isPaused());
    showsDraftDetails_->setChecked(settings_.showsDraftDetails());
    savesDraftDetails_->setChecked(settings_.savesDraftDetails());
    savesRow_->setVisible(settings_.showsDraftDetails());
    openRow_->setVisible(settings_.showsDraftDetails());
}

void MoreSettingsView::confirmReset() {
    // Window-modal and asynchronous: the rest of the program keeps running while it is up.
    auto* dialog = new QMessageBox(QMessageBox::Warning, QStringLiteral("Reset your style?"),
                                   QStringLiteral("Reset your style?"), QMessageBox::Cancel, this);
    dialog->setObjectName(QStringLiteral("confirmReset"));
    dialog->setInformativeText(QStringLiteral("Clears learned examples and the knobs. Name and sign-off stay."));
    QPushButton* reset = dialog->addButton(QStringLiteral("Reset Style"), QMessageBox::DestructiveRole);
    reset->setObjectName(QStringLiteral("confirmResetStyle"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(reset, &QPushButton::clicked, this, [this] { style_.reset(); });
    dialog->open();
}

} // namespace lumeno
