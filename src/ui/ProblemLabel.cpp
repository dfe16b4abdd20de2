#include "ui/ProblemLabel.h"

#include "ui/TextLabel.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QHBoxLayout>

namespace lumeno {

ProblemLabel::ProblemLabel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(5);
    auto* symbol =
        new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 12, Ink::fixed(Tint::orange()), this);
    layout->addWidget(symbol, 0, Qt::AlignTop);

    text_ = new TextLabel({}, this, Hierarchy::primary, TypeScale::font(12));
    text_->setWordWrap(true);
    QPalette palette = text_->palette();
    palette.setColor(QPalette::WindowText, Tint::orange());
    text_->setPalette(palette);
    layout->addWidget(text_, 1);
    setVisible(false);
}

void ProblemLabel::setProblem(const std::optional<QString>& problem) {
    text_->setText(problem.value_or(QString()));
    setVisible(problem.has_value() && !problem->isEmpty());
}

QString ProblemLabel::text() const {
    return isHidden() ? QString() : text_->text();
}

} // namespace lumeno
