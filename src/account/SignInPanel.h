#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumeno {

class AccountStore;
class ProblemLabel;
class SettingsSection;
class SentToRow;

// The signed-out Account tab: name and e-mail, then the e-mailed code. Typed text is the view's own; the
// store keeps the address a code went to.
class SignInPanel : public QWidget {
    Q_OBJECT
public:
    explicit SignInPanel(AccountStore& store, QWidget* parent = nullptr);

private:
    void submit();
    void changeEmail();
    void finishRequest(const std::optional<QString>& problem);
    void updateState();
    bool codeSent() const;

    AccountStore& store_;
    SettingsSection* section_;
    QWidget* nameRow_;
    QWidget* emailRow_;
    QWidget* sentToRow_;
    QWidget* codeRow_;
    QLineEdit* name_;
    QLineEdit* email_;
    QLineEdit* code_;
    SentToRow* sentTo_;
    QPushButton* submit_;
    ProblemLabel* problem_;
    bool sending_ = false;
};

} // namespace lumeno
