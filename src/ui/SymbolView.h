#pragma once

#include "ui/Ink.h"

#include <QFont>
#include <QWidget>

namespace lumeno {

// One named symbol on its own, sized like text of a given size.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    SymbolView(const QString& name, qreal fontPixelSize, Ink ink, QWidget* parent = nullptr,
               QFont::Weight weight = QFont::Normal);

    const QString& name() const { return name_; }
    const Ink& ink() const { return ink_; }
    void setSymbol(const QString& name, Ink ink);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString name_;
    qreal fontPixelSize_;
    Ink ink_;
    QFont::Weight weight_;
};

} // namespace lumeno
