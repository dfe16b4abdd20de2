#include "memory/ui/EmptyMemory.h"

#include "ui/Hierarchy.h"
#include "ui/SymbolView.h"
#include "ui/TypeScale.h"

#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int detailWidth = 380;

} // namespace

EmptyMemory::EmptyMemory(Content content, QWidget* parent)
    : QWidget(parent)
    , symbol_(new SymbolView(content.symbol, 28, Ink::of(Hierarchy::tertiary), this))
    , title_(new QLabel(this))
    , detail_(new QLabel(this)) {
    setObjectName(QStringLiteral("emptyMemory"));
    title_->setObjectName(QStringLiteral("emptyTitle"));
    detail_->setObjectName(QStringLiteral("emptyDetail"));
    title_->setFont(TypeScale::headline());
    title_->setTextFormat(Qt::PlainText);
    detail_->setFont(TypeScale::font(12));
    detail_->setTextFormat(Qt::PlainText);
    detail_->setWordWrap(true);
    detail_->setAlignment(Qt::AlignHCenter);
    detail_->setFixedWidth(detailWidth);
    setTextHierarchy(*detail_, Hierarchy::secondary);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(8);
    layout->addStretch();
    layout->addWidget(symbol_, 0, Qt::AlignHCenter);
    layout->addWidget(title_, 0, Qt::AlignHCenter);
    layout->addWidget(detail_, 0, Qt::AlignHCenter);
    layout->addStretch();
    setContent(std::move(content));
}

void EmptyMemory::setContent(Content content) {
    content_ = std::move(content);
    symbol_->setSymbol(content_.symbol, Ink::of(Hierarchy::tertiary));
    title_->setText(content_.title);
    detail_->setText(content_.detail);
    // A centred item gets the height of its one-line size hint, not of its wrapped lines: ask for them.
    detail_->setMinimumHeight(detail_->heightForWidth(detailWidth));
}

} // namespace lumeno
