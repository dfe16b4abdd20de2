#include "details/FormSection.h"

#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

QLabel* FormSection::secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    setTextHierarchy(*label, Hierarchy::secondary);
    return label;
}

FormSection::FormSection(const QString& header, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("formSection"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    if (!header.isEmpty()) {
        QLabel* title = secondaryLabel(header, this);
        title->setObjectName(QStringLiteral("sectionHeader"));
        title->setFont(TypeScale::font(11, QFont::DemiBold));
        title->setContentsMargins(8, 0, 8, 0);
        layout->addWidget(title);
    }
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("formBox"));
    frame->setStyleSheet(QStringLiteral("QFrame#formBox { background: palette(base); border: 1px solid "
                                        "palette(midlight); border-radius: 8px; }"));
    box_ = new QVBoxLayout(frame);
    box_->setContentsMargins(12, 4, 12, 4);
    box_->setSpacing(0);
    layout->addWidget(frame);
}

void FormSection::addRow(const QString& label, const QString& value) {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("row"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    auto* name = new QLabel(label, row);
    name->setObjectName(QStringLiteral("label"));
    name->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    QLabel* text = secondaryLabel(value, row);
    text->setObjectName(QStringLiteral("value"));
    text->setAccessibleName(label);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignTrailing | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name, 0, Qt::AlignTop);
    layout->addWidget(text, 1);
    addLine(row);
}

void FormSection::addLine(QWidget* line) {
    if (lines_ > 0) {
        auto* rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        rule->setStyleSheet(QStringLiteral("color: palette(midlight);"));
        box_->addWidget(rule);
    }
    line->setParent(box_->parentWidget());
    line->setContentsMargins(0, 7, 0, 7);
    box_->addWidget(line);
    ++lines_;
}

} // namespace lumeno
