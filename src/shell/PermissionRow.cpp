#include "shell/PermissionRow.h"

#include "ui/ProblemLabel.h"
#include "ui/TextLabel.h"
#include "shell/SettingsIcon.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumeno {

namespace {

struct Vocabulary {
    QString symbol;
    QColor color;
    QString name;
};

Vocabulary vocabulary(PermissionsGate::Permission permission) {
    switch (permission) {
    case PermissionsGate::Permission::microphone:
        return {QStringLiteral("mic.fill"), Tint::orange(), QStringLiteral("Microphone")};
    case PermissionsGate::Permission::accessibility:
        return {QStringLiteral("accessibility"), QColor(0x1f, 0x7a, 0xf0), QStringLiteral("Accessibility")};
    }
    Q_UNREACHABLE();
}

QString objectKey(PermissionsGate::Permission permission) {
    return permission == PermissionsGate::Permission::microphone ? QStringLiteral("microphone")
                                                                 : QStringLiteral("accessibility");
}

} // namespace

PermissionRow::PermissionRow(Permission permission, const QString& detail, Action action, QWidget* parent)
    : QWidget(parent), permission_(permission), action_(std::move(action)) {
    const Vocabulary words = vocabulary(permission);
    setObjectName(objectKey(permission) + QStringLiteral("Row"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 6);
    layout->setSpacing(10);
    layout->addWidget(new SettingsIcon(words.symbol, words.color, this), 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* name = new TextLabel(words.name, this);
    name->setObjectName(QStringLiteral("name"));
    texts->addWidget(name);
    auto* detailLabel = new TextLabel(detail, this, Hierarchy::secondary, TypeScale::caption());
    detailLabel->setObjectName(QStringLiteral("detail"));
    detailLabel->setWordWrap(true);
    texts->addWidget(detailLabel);
    problem_ = new ProblemLabel(this);
    problem_->setObjectName(QStringLiteral("instead"));
    texts->addWidget(problem_);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);

    button_ = new QPushButton(this);
    button_->setObjectName(QStringLiteral("request"));
    connect(button_, &QPushButton::clicked, this, [this] { problem_->setProblem(action_()); });
    layout->addWidget(button_, 0, Qt::AlignVCenter);

    granted_ = new SymbolView(QStringLiteral("checkmark.circle.fill"), 16, Ink::fixed(Tint::green()), this);
    granted_->setObjectName(QStringLiteral("granted"));
    granted_->setAccessibleName(QStringLiteral("Allowed"));
    layout->addWidget(granted_, 0, Qt::AlignVCenter);

    setStatus(Status::notDetermined, {});
}

void PermissionRow::setStatus(Status status, const Offer& offer) {
    if (status_ != status || offer_ != offer)
        problem_->setProblem(std::nullopt);
    status_ = status;
    offer_ = offer;
    const bool granted = status == Status::granted;
    granted_->setVisible(granted);
    button_->setVisible(!granted && offer.helpless.isEmpty());
    if (!granted && !offer.helpless.isEmpty())
        problem_->setProblem(offer.helpless);
    if (!granted)
        button_->setText(buttonTitle(permission_, status, offer.switchesOn));
}

QString PermissionRow::buttonTitle(Permission permission, Status status, bool switchesOn) {
    // The desktop has no prompt for accessibility: a press switches it on for the whole desktop.
    if (switchesOn)
        return QStringLiteral("Turn On");
    if (status == Status::notDetermined)
        return permission == Permission::microphone ? QStringLiteral("Allow") : QStringLiteral("Turn On");
    return QStringLiteral("Open Settings…");
}

} // namespace lumeno
