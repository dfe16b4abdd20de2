#include "drafting/LearnedExamplesList.h"

#include "drafting/StyleStore.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace lumeno {
namespace {

constexpr int previewCharacters = 110;
constexpr int mostRowsShown = 5; // more scroll

// One line per example in the list; the whole text is its tool tip.
QString preview(const QString& example) {
    const QString line = example.simplified();
    return line.size() <= previewCharacters ? line : line.left(previewCharacters - 1).trimmed() + QStringLiteral("…");
}

} // namespace

LearnedExamplesList::LearnedExamplesList(StyleStore& style, QWidget* parent) : QWidget(parent), style_(style) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("learnedExamples"));
    list_->setAccessibleName(QStringLiteral("Learned examples"));
    list_->setUniformItemSizes(true);
    list_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(list_);

    empty_ = new QLabel(QStringLiteral("No examples yet. They appear after you edit a draft and send it."), this);
    empty_->setObjectName(QStringLiteral("noExamples"));
    empty_->setWordWrap(true);
    empty_->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(empty_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    remove_ = new QPushButton(QStringLiteral("Remove"), this);
    remove_->setObjectName(QStringLiteral("removeExample"));
    remove_->setToolTip(QStringLiteral("Forget the selected example"));
    buttons->addWidget(remove_);
    layout->addLayout(buttons);

    connect(remove_, &QPushButton::clicked, this, &LearnedExamplesList::removeSelected);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { remove_->setEnabled(row >= 0); });
    refresh();
}

void LearnedExamplesList::refresh() {
    const QStringList& examples = style_.profile().learnedExamples;
    list_->clear();
    // Newest first; each item remembers its place in the store's list (oldest first).
    for (qsizetype i = examples.size() - 1; i >= 0; --i) {
        auto* item = new QListWidgetItem(preview(examples[i]), list_);
        item->setToolTip(examples[i]);
        item->setData(Qt::UserRole, int(i));
    }
    // As tall as its examples, up to a few rows.
    const int rows = std::clamp(int(examples.size()), 1, mostRowsShown);
    list_->setFixedHeight(rows * list_->sizeHintForRow(0) + 2 * list_->frameWidth() + 4);
    list_->setVisible(!examples.isEmpty());
    empty_->setVisible(examples.isEmpty());
    remove_->setVisible(!examples.isEmpty());
    remove_->setEnabled(list_->currentRow() >= 0);
}

void LearnedExamplesList::removeSelected() {
    if (const QListWidgetItem* item = list_->currentItem())
        style_.removeLearnedExample(item->data(Qt::UserRole).toInt());
}

} // namespace lumeno
