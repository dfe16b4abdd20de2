#pragma once

#include "details/DraftDetails.h"

#include <QScrollArea>

#include <functional>
#include <map>

namespace lumeno {

class LongText;
class SettingsSection;

// One draft record in full, as a grouped form: what it knew, when and how it ended (with "Copy as Text"),
// the edit request, the field, the text read on screen, the recipient, the style, the speech and the
// model's result with both prompts. Sections a record has no part for are left out.
class DetailsForm : public QScrollArea {
    Q_OBJECT
public:
    explicit DetailsForm(QWidget* parent = nullptr);

    const DraftDetails& details() const { return details_; }
    void setDetails(const DraftDetails& details);

    // Called with the record shown when the user clicks "Copy as Text".
    std::function<void(const DraftDetails&)> onCopy = [](const DraftDetails&) {};

private:
    void rebuild();
    // A collapsible block, open or closed as the user last left it in this record, else as it starts.
    LongText* block(const QString& title, const QString& text, bool startsOpen);
    SettingsSection* section(const QString& header);
    void addWhatItKnew();
    void addWhenAndHow();
    void addEdit(const DraftDetails::Edit& edit);
    void addField(const DraftDetails::Field& field);
    void addConversation(const DraftDetails::Conversation& conversation);
    void addRecipient(const DraftDetails::Recipient& recipient);
    void addStyle(const DraftDetails::Style& style);
    void addSpeech(const QString& dictation);
    void addResult(const DraftDetails::Result& result);

    DraftDetails details_;
    QWidget* content_ = nullptr;
    std::map<QString, bool> chosenOpen_; // by block title: what the user opened or closed in this record
};

} // namespace lumeno
