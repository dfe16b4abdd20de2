#pragma once

#include "account/ServerAPI.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumeno {

class AccountStore;
class ProblemLabel;
class SettingsSection;

// The team part of the Account tab: the team, its members and invitations; the owner invites and removes,
// a member may leave.
class TeamSection : public QWidget {
    Q_OBJECT
public:
    explicit TeamSection(AccountStore& store, QWidget* parent = nullptr);

private:
    void rebuild();
    void addMemberRow(const ServerAPI::Member& member, bool isYou, bool canRemove);
    void addInviteRow();
    void run(QCoro::Task<std::optional<QString>> change);

    AccountStore& store_;
    SettingsSection* section_;
    QPushButton* leave_;
    ProblemLabel* problem_;
    QLineEdit* invite_ = nullptr;
};

} // namespace lumeno
