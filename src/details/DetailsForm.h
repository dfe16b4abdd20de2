#pragma once

#include "details/DraftDetails.h"

#include <QScrollArea>

#include <functional>

namespace lumeno {

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
};

} // namespace lumeno
