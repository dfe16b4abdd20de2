#include "ui/SettingsSection.h"

#include "ui/TextLabel.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"
#include "ui/WrappingText.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace lumeno {

namespace {

constexpr int minimumLabelWidth = 96;
constexpr int rowPadding = 6; // above and below each row's content
constexpr qreal cornerRadius = 8;
const QString rowLabelName = QStringLiteral("rowLabel");

} // namespace

// The rounded panel; it draws a hairline between consecutive visible rows.
class SettingsSection::Panel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath path;
        path.addRoundedRect(shape, cornerRadius, cornerRadius);
        painter.fillPath(path, palette().color(QPalette::Base));
        painter.setPen(QPen(hierarchicalColor(palette(), Hierarchy::quaternary), 1));
        painter.drawPath(path);

        painter.setRenderHint(QPainter::Antialiasing, false);
        const QWidget* previous = nullptr;
        for (QObject* child : children()) {
            auto* row = qobject_cast<QWidget*>(child);
            if (!row || row->isHidden())
                continue;
            if (previous) {
                const int y = (previous->geometry().bottom() + row->geometry().top() + 1) / 2;
                painter.drawLine(12, y, width() - 12, y);
            }
            previous = row;
        }
    }
};

SettingsSection::SettingsSection(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    title_ = new TextLabel({}, this, Hierarchy::secondary, TypeScale::font(11, QFont::DemiBold));
    title_->setObjectName(QStringLiteral("sectionTitle"));
    title_->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(title_);

    panel_ = new Panel(this);
    rows_ = new QVBoxLayout(panel_);
    rows_->setContentsMargins(12, 4, 12, 4);
    rows_->setSpacing(1);
    layout->addWidget(panel_);

    footer_ = new TextLabel({}, this, Hierarchy::secondary, TypeScale::font(11));
    footer_->setObjectName(QStringLiteral("sectionFooter"));
    footer_->setWordWrap(true);
    footer_->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(footer_);

    setTitle(title);
    setFooter({});
}

void SettingsSection::setTitle(const QString& title) {
    title_->setText(title);
    title_->setVisible(!title.isEmpty());
}

void SettingsSection::setFooter(const QString& footer) {
    footer_->setText(footer);
    footer_->setVisible(!footer.isEmpty());
}

QString SettingsSection::footer() const {
    return footer_->text();
}

QWidget* SettingsSection::addRow(const QString& label, QWidget* field) {
    auto* row = new QWidget(panel_);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto* name = new TextLabel(label, row);
    name->setObjectName(rowLabelName);
    layout->addWidget(name);
    layout->addWidget(field, 1);
    addRow(row);
    alignLabels();
    return row;
}

QWidget* SettingsSection::addValueRow(const QString& label, const QString& value) {
    auto* row = new QWidget(panel_);
    row->setObjectName(QStringLiteral("row"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto* name = new TextLabel(label, row);
    name->setObjectName(QStringLiteral("label"));
    auto* text = new WrappingText(value, Qt::AlignTrailing, Hierarchy::secondary, TypeScale::font(13), row);
    text->setObjectName(QStringLiteral("value"));
    text->setAccessibleName(label);
    layout->addWidget(name, 0, Qt::AlignTop);
    layout->addWidget(text, 1);
    return addRow(row);
}

QWidget* SettingsSection::addRow(QWidget* content) {
    content->setParent(panel_);
    content->setContentsMargins(0, rowPadding, 0, rowPadding);
    // A lone control (a switch) leaves its contents margins out of its size: it gets the room as height.
    if (!content->layout())
        content->setMinimumHeight(content->sizeHint().height() + 2 * rowPadding);
    rows_->addWidget(content);
    return content;
}

void SettingsSection::clearRows() {
    // Later, not now: the rows may hold the button whose click asked for this.
    while (QLayoutItem* item = rows_->takeAt(0)) {
        if (QWidget* row = item->widget()) {
            row->hide();
            row->setParent(nullptr);
            row->deleteLater();
        }
        delete item;
    }
}

bool SettingsSection::isEmpty() const {
    return rows_->isEmpty();
}

void SettingsSection::alignLabels() {
    const QList<QLabel*> labels = panel_->findChildren<QLabel*>(rowLabelName);
    int width = minimumLabelWidth;
    for (const QLabel* label : labels)
        width = std::max(width, label->sizeHint().width());
    for (QLabel* label : labels)
        label->setFixedWidth(width);
}

} // namespace lumeno
