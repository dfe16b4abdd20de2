#include "memory/ui/RecordColumn.h"

#include "ui/Hierarchy.h"

#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace lumeno {

namespace {

// The rows' backdrop: the base colour with a hairline between neighbouring rows.
class RowsBackdrop : public QWidget {
public:
    explicit RowsBackdrop(const QList<QWidget*>& rows) : rows_(rows) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        const QColor hairline = hierarchicalColor(palette(), Hierarchy::quaternary);
        for (qsizetype i = 1; i < rows_.size(); ++i) {
            const QRect above = rows_[i - 1]->geometry();
            const qreal y = (above.bottom() + rows_[i]->geometry().top()) / 2.0;
            painter.fillRect(QRectF(above.left(), y, above.width(), 1), hairline);
        }
    }

private:
    const QList<QWidget*>& rows_;
};

} // namespace

RecordColumn::RecordColumn(EmptyMemory::Content empty, QWidget* parent)
    : QStackedWidget(parent), empty_(new EmptyMemory(std::move(empty), this)), rows_(new RowsBackdrop(arranged_)) {
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("records"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(rows_);
    scroller_ = scroller;
    layout_ = new QVBoxLayout(rows_);
    layout_->setContentsMargins(16, 8, 16, 8);
    layout_->setSpacing(8);
    layout_->addStretch();
    addWidget(empty_);
    addWidget(scroller_);
}

void RecordColumn::arrange(const QList<QWidget*>& rows) {
    // Take every row out and put them back in order: the rows themselves (and what is typed in them) stay,
    // only the layout's items that held them go.
    while (QLayoutItem* item = layout_->takeAt(0))
        delete item;
    for (QWidget* row : rows)
        layout_->addWidget(row);
    layout_->addStretch();
    arranged_ = rows;
    setCurrentWidget(rows.isEmpty() ? static_cast<QWidget*>(empty_) : scroller_);
    rows_->update();
}

} // namespace lumeno
