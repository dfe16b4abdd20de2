#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace lumeno {

class LearnedExamplesList;
class StyleStore;

// The Style tab of the settings window: the names and sign-off drafts use, the length, tone and formality
// knobs, pasted writing samples, learning from edits with the examples learned so far, and a reset. Every
// change is saved at once; what the store holds is what the tab shows.
class StyleSettingsView : public QWidget {
    Q_OBJECT
public:
    explicit StyleSettingsView(StyleStore& style, QWidget* parent = nullptr);

    StyleStore& style() const { return style_; }

private:
    QWidget* namesSection();
    QWidget* knobsSection();
    QWidget* samplesSection();
    QWidget* learningSection();
    QWidget* resetRow();
    // Shows the store's profile without echoing the change back to it.
    void refresh();
    void confirmReset();

    StyleStore& style_;
    QLineEdit* name_ = nullptr;
    QLineEdit* signAsName_ = nullptr;
    QLineEdit* emailSignOff_ = nullptr;
    QComboBox* length_ = nullptr;
    QComboBox* tone_ = nullptr;
    QComboBox* formality_ = nullptr;
    QPlainTextEdit* samples_ = nullptr;
    QCheckBox* learnFromEdits_ = nullptr;
    LearnedExamplesList* examples_ = nullptr;
};

} // namespace lumeno
