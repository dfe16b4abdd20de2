#include "details/EmptyStateView.h"

#include "ui/SymbolView.h"
#include "ui/TypeScale.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumeno {

EmptyStateView::EmptyStateView(const QString& symbol, const QString& label, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(8);
    layout->addStretch(1);
    auto* icon = new SymbolView(symbol, 34, Ink::of(Hierarchy::secondary), this);
    icon->setObjectName(QStringLiteral("emptySymbol"));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    auto* title = new QLabel(label, this);
    title->setObjectName(QStringLiteral("emptyLabel"));
    title->setFont(TypeScale::font(18, QFont::Bold));
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* description = new QLabel(this);
    description->setObjectName(QStringLiteral("emptyDescription"));
    description->setAlignment(Qt::AlignCenter);
    description->setWordWrap(true);
    setTextHierarchy(*description, Hierarchy::secondary);
    layout->addWidget(description);
    layout->addStretch(1);
}

void EmptyStateView::setDescription(const QString& description) {
    findChild<QLabel*>(QStringLiteral("emptyDescription"))->setText(description);
}

QPushButton* EmptyStateView::addButton(const QString& title, std::function<void()> action) {
    auto* button = new QPushButton(title, this);
    connect(button, &QPushButton::clicked, this, std::move(action));
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(layout->count() - 1, button, 0, Qt::AlignHCenter);
    return button;
}

} // namespace lumeno
