#include "overlay/OverlayView.h"

#include "overlay/DraftingRow.h"
#include "overlay/InsertedRow.h"
#include "overlay/ListeningRow.h"
#include "overlay/MessageRow.h"
#include "overlay/OverlayModel.h"
#include "overlay/PendingCard.h"
#include "ui/Discard.h"

#include <QVBoxLayout>

namespace lumeno {

namespace {

constexpr int leastHeight = 48;

} // namespace

OverlayView::OverlayView(OverlayModel& model, AnimationClock clock, QWidget* parent)
    : QWidget(parent), model_(model), clock_(clock), layout_(new QVBoxLayout(this)) {
    setObjectName(QStringLiteral("overlayView"));
    layout_->setContentsMargins(24, 12, 24, 12);
    layout_->setSpacing(0);

    connect(&model_, &OverlayModel::phaseChanged, this, &OverlayView::rebuildRow);
    // A message row shows a copy of the message and the details button as they were when it was built.
    for (auto changed : {&OverlayModel::messageChanged, &OverlayModel::showsDetailsButtonChanged})
        connect(&model_, changed, this, [this] {
            if (model_.phase() == OverlayPhase::message)
                rebuildRow();
        });
    rebuildRow();
}

void OverlayView::rebuildRow() {
    discardLater(row_);
    row_ = nullptr;
    switch (model_.phase()) {
    case OverlayPhase::hidden: break;
    case OverlayPhase::listening: row_ = new ListeningRow(model_, clock_, this); break;
    case OverlayPhase::transcribing:
    case OverlayPhase::drafting: row_ = new DraftingRow(model_, clock_, this); break;
    case OverlayPhase::inserted: row_ = new InsertedRow(model_, this); break;
    case OverlayPhase::pending: row_ = new PendingCard(model_, this); break;
    case OverlayPhase::message:
        if (model_.message())
            row_ = new MessageRow(*model_.message(), model_, this);
        break;
    }
    if (row_) {
        layout_->addWidget(row_, 0, Qt::AlignCenter);
        row_->show();
    }
    updateGeometry();
}

QSize OverlayView::measure() {
    // Qt re-lays out nested rows on later turns of the event loop; asking every widget to recompute its
    // size now lets the measurement see the row as it is.
    for (QWidget* child : findChildren<QWidget*>())
        child->updateGeometry();
    return sizeHint();
}

QSize OverlayView::sizeHint() const {
    const QSize content = layout_->sizeHint();
    return {content.width(), std::max(content.height(), leastHeight)};
}

} // namespace lumeno
