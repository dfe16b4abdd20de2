#pragma once

#include "ui/Ink.h"

#include <QAbstractButton>
#include <QFont>

#include <optional>

namespace lumeno {

// A button that is only a symbol, optionally on a filled circle: a close cross, an information button.
class SymbolButton : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        QString symbol;
        qreal fontSize = 13;
        QFont::Weight weight = QFont::Normal;
        Ink ink = Ink::of(Hierarchy::secondary);
        int side = 0;                  // the square the button takes; 0: the symbol's own size
        std::optional<Ink> circleFill; // a filled circle behind the symbol
    };

    explicit SymbolButton(Look look, QWidget* parent = nullptr);

    const Look& look() const { return look_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_;
};

} // namespace lumeno
