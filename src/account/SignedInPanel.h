#pragma once

#include <QCoroTask>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumeno {

class AccountHeader;
class AccountStore;
class ProblemLabel;

// The signed-in Account tab: who is signed in, the name, the team, signing out and deleting the account.
class SignedInPanel : public QWidget {
    Q_OBJECT
public:
    explicit SignedInPanel(AccountStore& store, QWidget* parent = nullptr);

private:
    QWidget* buildHeader();
    QWidget* buildProfile();
    QWidget* buildSession();
    void showSession();
    void updateSaveName();
    void saveName();
    // Signs out; a session file that could not be removed is the user's to know about.
    QCoro::Task<> signOut();
    void setConfirmingDeletion(bool confirming);
    void deleteAccount();

    AccountStore& store_;
    AccountHeader* header_;
    QLineEdit* name_;
    QPushButton* saveName_;
    QWidget* deleteOffer_;
    QWidget* deleteConfirmation_;
    ProblemLabel* deleteProblem_;
};

} // namespace lumeno
