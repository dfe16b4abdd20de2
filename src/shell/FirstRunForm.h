#pragma once

#include "foundation/ReplyLanguage.h"
#include "ui/FrameTicker.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumeno {

class AccountStore;
class CrossFade;
class GuideSession;
class SentToRow;
class SettingsSection;
class SettingsStore;
class SpeechCapture;
class TextLabel;

// The first-run form: as the guide session asks, the user's name, sign-in by an e-mailed code and the
// speech language. Everything typed lives here; a form built anew takes over the typed name and address,
// and only a confirmed sign-in (kept by the account store) and the speech locale (written at every
// change) are stored.
class FirstRunForm : public QWidget {
    Q_OBJECT
public:
    enum class Field { name, email, code };

    // Asking for the code, and going back to the address, blend over this long.
    static constexpr double codeSentFadeSeconds = 0.2;

    struct Services {
        AccountStore& account;
        SettingsStore& settings;
        SpeechCapture& speech;
        AnimationClock animation;
    };

    FirstRunForm(const GuideSession& session, Services services, QWidget* parent = nullptr);

    // The height the form needs at `width` with this desktop's controls, in the tallest of its steps (asking
    // for the code adds a row), so the window never has to grow while it is filled in.
    int fittingHeight(int width) const;

    QString buttonTitle() const;
    bool locked() const;
    bool codeSent() const { return codeSent_; }
    bool sendingCode() const { return sendingCode_; }
    const std::optional<QString>& problem() const { return problem_; }
    const QString& languageCode() const { return languageCode_; }
    const std::vector<ReplyLanguage>& languageChoices() const { return languageChoices_; }

    void submit();
    void changeEmail();
    // Takes over the name and address typed into `earlier`, where this form asks for them too.
    void keepTyped(const FirstRunForm& earlier);
    void setLanguageCode(const QString& code);

    // The language to preselect: `kept` when it is offered, else the stored speech language, else English,
    // else the first offered; empty when nothing is offered.
    static QString preselectedLanguage(const std::vector<ReplyLanguage>& choices, const QString& kept,
                                       const QString& speechLocaleID);

signals:
    void done();
    // The user picked the language they speak: its speech model can be made ready.
    void speechLanguageChosen();

protected:
    // The offered languages are looked up when the form first appears.
    void showEvent(QShowEvent* event) override;
    // Return is the form's default action, whichever control has the focus: it presses the button.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildHeader();
    void buildNameSection();
    void buildSignInSection();
    void buildLanguageSection();
    void buildBottomRow();
    void loadLanguages();
    void showLanguages(const std::vector<ReplyLanguage>& choices);
    void requestFinished(const std::optional<QString>& problem, bool wasConfirming);
    void setCodeSent(bool sent);
    void finish();
    void focusField(Field field);
    void refresh();

    const GuideSession& session_;
    Services services_;

    bool codeSent_ = false;
    bool sendingCode_ = false;
    std::optional<QString> problem_;
    QString languageCode_;
    std::vector<ReplyLanguage> languageChoices_;
    bool languagesRequested_ = false;

    QLineEdit* name_ = nullptr;
    QLineEdit* email_ = nullptr;
    QLineEdit* code_ = nullptr;
    SettingsSection* signIn_ = nullptr;
    CrossFade* signInFade_ = nullptr;
    QWidget* emailRow_ = nullptr;
    QWidget* sentToRow_ = nullptr;
    QWidget* codeRow_ = nullptr;
    SentToRow* sentTo_ = nullptr;
    QWidget* languageLoadingRow_ = nullptr;
    QWidget* languagePickerRow_ = nullptr;
    QComboBox* languagePicker_ = nullptr;
    TextLabel* problemLabel_ = nullptr;
    QPushButton* button_ = nullptr;
};

} // namespace lumeno
