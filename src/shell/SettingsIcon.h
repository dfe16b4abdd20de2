#pragma once

#include <QColor>
#include <QWidget>

namespace lumeno {

// The small coloured tile in front of a settings row: a white symbol on a rounded square filled with a
// gentle gradient of `color`.
class SettingsIcon : public QWidget {
    Q_OBJECT
public:
    SettingsIcon(const QString& symbol, const QColor& color, QWidget* parent = nullptr);

    const QString& symbol() const { return symbol_; }
    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    QColor color_;
};

} // namespace lumeno
