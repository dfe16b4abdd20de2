#include "account/TeamSection.h"

#include "account/AccountStore.h"
#include "ui/ProblemLabel.h"
#include "ui/SettingsSection.h"
#include "ui/TextLabel.h"
#include "support/Text.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumeno {

TeamSection::TeamSection(AccountStore& store, QWidget* parent) : QWidget(parent), store_(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    section_ = new SettingsSection(QStringLiteral("Team"), this);
    layout->addWidget(section_);

    problem_ = new ProblemLabel(this);
    problem_->setObjectName(QStringLiteral("teamProblem"));
    layout->addWidget(problem_);

    leave_ = new QPushButton(QStringLiteral("Leave Team"), this);
    leave_->setObjectName(QStringLiteral("leaveTeamButton"));
    layout->addWidget(leave_, 0, Qt::AlignRight);
    connect(leave_, &QPushButton::clicked, this, [this] { run(store_.leaveTeam()); });

    connect(&store_, &AccountStore::teamDetailsChanged, this, &TeamSection::rebuild);
    connect(&store_, &AccountStore::sessionChanged, this, &TeamSection::rebuild);
    rebuild();
}

void TeamSection::rebuild() {
    section_->clearRows();
    invite_ = nullptr;
    const auto& session = store_.session();
    const auto& team = session ? session->team : std::nullopt;
    leave_->setVisible(team && team->role == ServerAPI::Role::member);
    if (!team) {
        section_->addRow(new TextLabel(QStringLiteral("You're not on a team."), this));
        section_->setFooter(QStringLiteral("To join one, ask its owner to invite %1.")
                                .arg(session ? session->user.email : QString()));
        return;
    }

    auto* header = new QWidget(this);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    auto* name = new TextLabel(team->name, header);
    name->setObjectName(QStringLiteral("teamName"));
    name->setFont(TypeScale::font(13, QFont::DemiBold));
    headerLayout->addWidget(name, 1);
    headerLayout->addWidget(new TextLabel(team->role == ServerAPI::Role::owner
                                              ? QStringLiteral("You own this team")
                                              : QStringLiteral("You're a member"),
                                          header, Hierarchy::secondary));
    section_->addRow(header);

    const bool owner = team->role == ServerAPI::Role::owner;
    const auto& details = store_.teamDetails();
    if (!details) {
        section_->addRow(new TextLabel(QStringLiteral("Loading members…"), this, Hierarchy::secondary));
    } else {
        for (const ServerAPI::Member& member : details->members) {
            const bool isYou = Text::equalIgnoringCase(member.email, session->user.email);
            addMemberRow(member, isYou, owner && !isYou && member.role != ServerAPI::Role::owner);
        }
    }
    if (owner)
        addInviteRow();
    section_->setFooter(owner ? QStringLiteral("People you invite join when they sign in with that address.")
                              : QString());
}

void TeamSection::addMemberRow(const ServerAPI::Member& member, bool isYou, bool canRemove) {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("member-") + member.id);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* who = new QVBoxLayout;
    who->setSpacing(0);
    const QString shownName = member.name.isEmpty() ? member.email : member.name;
    who->addWidget(new TextLabel(isYou ? shownName + QStringLiteral(" (you)") : shownName, row));
    if (!member.name.isEmpty()) {
        auto* email = new TextLabel(member.email, row, Hierarchy::secondary);
        email->setFont(TypeScale::font(11));
        who->addWidget(email);
    }
    layout->addLayout(who, 1);

    if (member.invited)
        layout->addWidget(new TextLabel(QStringLiteral("Invited"), row, Hierarchy::secondary));
    else if (member.role == ServerAPI::Role::owner)
        layout->addWidget(new TextLabel(QStringLiteral("Owner"), row, Hierarchy::secondary));
    if (canRemove) {
        auto* remove =
            new QPushButton(member.invited ? QStringLiteral("Withdraw") : QStringLiteral("Remove"), row);
        remove->setObjectName(QStringLiteral("removeButton"));
        const QString id = member.id;
        connect(remove, &QPushButton::clicked, this, [this, id] { run(store_.removeMember(id)); });
        layout->addWidget(remove);
    }
    section_->addRow(row);
}

void TeamSection::addInviteRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    invite_ = new QLineEdit(row);
    invite_->setObjectName(QStringLiteral("inviteField"));
    invite_->setPlaceholderText(QStringLiteral("name@example.com"));
    auto* button = new QPushButton(QStringLiteral("Invite"), row);
    button->setObjectName(QStringLiteral("inviteButton"));
    button->setEnabled(false);
    layout->addWidget(invite_, 1);
    layout->addWidget(button);
    const auto send = [this] {
        if (!Text::trimmed(invite_->text()).isEmpty())
            run(store_.invite(invite_->text()));
    };
    connect(invite_, &QLineEdit::textChanged, button,
            [this, button] { button->setEnabled(!Text::trimmed(invite_->text()).isEmpty()); });
    connect(invite_, &QLineEdit::returnPressed, this, send);
    connect(button, &QPushButton::clicked, this, send);
    section_->addRow(QStringLiteral("Invite"), row);
}

// Controls stay disabled while a change is on its way, so a second click cannot send it twice.
void TeamSection::run(QCoro::Task<std::optional<QString>> change) {
    problem_->setProblem(std::nullopt);
    setEnabled(false);
    QCoro::connect(std::move(change), this, [this](const std::optional<QString>& problem) {
        setEnabled(true);
        problem_->setProblem(problem);
    });
}

} // namespace lumeno
