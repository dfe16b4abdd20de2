#include "drafting/StyleSettingsView.h"

#include "drafting/LearnedExamplesList.h"
#include "drafting/StyleStore.h"
#include "ui/SettingsSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <functional>
#include <vector>

namespace lumeno {
namespace {

// Stores one change of the profile at once.
void edit(StyleStore& style, const std::function<void(StyleProfile&)>& change) {
    StyleProfile next = style.profile();
    change(next);
    style.setProfile(next);
}

// A picker over the cases of a knob, in their order, shown by their display names; a pick is stored at once.
template <typename Knob>
QComboBox* knobPicker(StyleStore& style, Knob StyleProfile::*field, const QString& objectName,
                      const std::vector<Knob>& cases, QWidget* parent) {
    auto* picker = new QComboBox(parent);
    picker->setObjectName(objectName);
    picker->setAccessibleName(objectName.at(0).toUpper() + objectName.mid(1));
    for (const Knob knob : cases)
        picker->addItem(StyleProfile::displayName(knob), rawValue(knob));
    QObject::connect(picker, &QComboBox::currentIndexChanged, picker, [&style, field, cases](int index) {
        if (index >= 0)
            edit(style, [&](StyleProfile& next) { next.*field = cases[std::size_t(index)]; });
    });
    return picker;
}

// A line edit for one text of the profile, stored on every change.
QLineEdit* textField(StyleStore& style, QString StyleProfile::*field, const QString& objectName,
                     const QString& accessibleName, QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(objectName);
    line->setAccessibleName(accessibleName);
    line->setClearButtonEnabled(true);
    QObject::connect(line, &QLineEdit::textChanged, line, [&style, field](const QString& text) {
        edit(style, [&](StyleProfile& next) { next.*field = text; });
    });
    return line;
}

template <typename Knob>
void display(QComboBox* picker, Knob knob) {
    const QSignalBlocker quiet(picker);
    picker->setCurrentIndex(picker->findData(rawValue(knob)));
}

void display(QLineEdit* edit, const QString& text) {
    if (edit->text() == text)
        return; // leaves the caret where the user is typing
    const QSignalBlocker quiet(edit);
    edit->setText(text);
}

} // namespace

StyleSettingsView::StyleSettingsView(StyleStore& style, QWidget* parent) : QWidget(parent), style_(style) {
    auto* content = new QWidget;
    auto* sections = new QVBoxLayout(content);
    sections->setContentsMargins(20, 20, 20, 20);
    sections->setSpacing(18);
    sections->addWidget(namesSection());
    sections->addWidget(knobsSection());
    sections->addWidget(samplesSection());
    sections->addWidget(learningSection());
    sections->addWidget(resetRow());
    sections->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(&style_, &StyleStore::profileChanged, this, &StyleSettingsView::refresh);
    refresh();
}

QWidget* StyleSettingsView::namesSection() {
    auto* section = new SettingsSection(QStringLiteral("Your name"));
    name_ = textField(style_, &StyleProfile::name, QStringLiteral("name"), QStringLiteral("Name"), section);
    signAsName_ =
        textField(style_, &StyleProfile::signAsName, QStringLiteral("signAsName"), QStringLiteral("Sign as"), section);
    emailSignOff_ = textField(style_, &StyleProfile::emailSignOff, QStringLiteral("emailSignOff"),
                              QStringLiteral("E-mail sign-off"), section);
    section->addRow(QStringLiteral("Name"), name_);
    section->addRow(QStringLiteral("Sign as"), signAsName_);
    section->addRow(QStringLiteral("E-mail sign-off"), emailSignOff_);
    section->setFooter(QStringLiteral("E-mails end with the sign-off and the sign-as name. Leave a field empty to "
                                      "use your account's name."));
    return section;
}

QWidget* StyleSettingsView::knobsSection() {
    using Profile = StyleProfile;
    auto* section = new SettingsSection(QStringLiteral("Style"));
    length_ = knobPicker<Profile::Length>(style_, &Profile::length, QStringLiteral("length"),
                                          {Profile::Length::short_, Profile::Length::normal}, section);
    tone_ = knobPicker<Profile::Tone>(style_, &Profile::tone, QStringLiteral("tone"),
                                      {Profile::Tone::auto_, Profile::Tone::warm, Profile::Tone::direct}, section);
    formality_ = knobPicker<Profile::Formality>(
        style_, &Profile::formality, QStringLiteral("formality"),
        {Profile::Formality::auto_, Profile::Formality::casual, Profile::Formality::formal}, section);
    section->addRow(QStringLiteral("Length"), length_);
    section->addRow(QStringLiteral("Tone"), tone_);
    section->addRow(QStringLiteral("Formality"), formality_);
    section->setFooter(QStringLiteral("Auto follows the conversation you reply to."));
    return section;
}

QWidget* StyleSettingsView::samplesSection() {
    auto* section = new SettingsSection(QStringLiteral("Writing samples"));
    // In a row with a layout of its own: a lone control would take the row's padding as extra height and
    // draw its text box that much lower, cut off by the section's edge.
    auto* row = new QWidget(section);
    auto* rowLayout = new QVBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    samples_ = new QPlainTextEdit(row);
    samples_->setObjectName(QStringLiteral("samples"));
    samples_->setAccessibleName(QStringLiteral("Writing samples"));
    samples_->setPlaceholderText(QStringLiteral("Hi Sam,\n\nThanks, that works for me. See you Thursday!\n\nBest,\nAlex\n---\n"
                                                "Running 5 min late, start without me"));
    samples_->setTabChangesFocus(true);
    samples_->setFixedHeight(130);
    rowLayout->addWidget(samples_);
    section->addRow(row);
    section->setFooter(QStringLiteral("Paste a few messages you wrote, so drafts sound like you. Put a line with --- "
                                      "between two messages."));
    connect(samples_, &QPlainTextEdit::textChanged, this,
            [this] { edit(style_, [&](StyleProfile& next) { next.samples = samples_->toPlainText(); }); });
    return section;
}

QWidget* StyleSettingsView::learningSection() {
    auto* section = new SettingsSection(QStringLiteral("Learning"));
    learnFromEdits_ = new QCheckBox(QStringLiteral("Learn from my edits"), section);
    learnFromEdits_->setObjectName(QStringLiteral("learnFromEdits"));
    section->addRow(learnFromEdits_);
    examples_ = new LearnedExamplesList(style_, section);
    section->addRow(examples_);
    section->setFooter(QStringLiteral("When you change a draft and then send it, Lumeno keeps what you sent as an "
                                      "example of your style. Examples stay on this computer."));
    connect(learnFromEdits_, &QCheckBox::toggled, this,
            [this](bool on) { edit(style_, [&](StyleProfile& next) { next.learnFromEdits = on; }); });
    return section;
}

QWidget* StyleSettingsView::resetRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    auto* reset = new QPushButton(QStringLiteral("Reset Style…"), row);
    reset->setObjectName(QStringLiteral("resetStyle"));
    layout->addWidget(reset);
    connect(reset, &QPushButton::clicked, this, &StyleSettingsView::confirmReset);
    return row;
}

void StyleSettingsView::refresh() {
    const StyleProfile& profile = style_.profile();
    display(name_, profile.name);
    display(signAsName_, profile.signAsName);
    display(emailSignOff_, profile.emailSignOff);
    // Empty fields show what drafts will use instead.
    const QString fallbackName = StyleProfile().resolvedName(style_.accountName(), style_.systemUserName());
    name_->setPlaceholderText(fallbackName.isEmpty() ? QStringLiteral("Your full name") : fallbackName);
    const QString resolved = style_.resolvedName();
    signAsName_->setPlaceholderText(resolved.isEmpty() ? QStringLiteral("The name under your e-mails") : resolved);
    emailSignOff_->setPlaceholderText(QStringLiteral("No sign-off"));
    display(length_, profile.length);
    display(tone_, profile.tone);
    display(formality_, profile.formality);
    if (samples_->toPlainText() != profile.samples) {
        const QSignalBlocker quiet(samples_);
        samples_->setPlainText(profile.samples);
    }
    {
        const QSignalBlocker quiet(learnFromEdits_);
        learnFromEdits_->setChecked(profile.learnFromEdits);
    }
    examples_->refresh();
}

void StyleSettingsView::confirmReset() {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Reset your style?"),
                                QStringLiteral("Reset your style?"), QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("confirmReset"));
    box->setInformativeText(QStringLiteral("Clears learned examples and the knobs. Name and sign-off stay."));
    QPushButton* reset = box->addButton(QStringLiteral("Reset Style"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, reset](QAbstractButton* clicked) {
        if (clicked == reset)
            style_.reset();
    });
    box->open();
}

} // namespace lumeno
