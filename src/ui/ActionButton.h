#pragma once

#include <QAbstractButton>

namespace lumeno {

// A small push button with a text title. `bordered` is the ordinary button, a quiet filled capsule;
// `prominent` is the one the user is most likely to want, filled with the accent.
class ActionButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Look { bordered, prominent };

    ActionButton(const QString& title, Look look, QWidget* parent = nullptr);

    Look look() const { return look_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont titleFont() const;

    Look look_;
};

} // namespace lumeno
