#pragma once

#include <QWidget>

namespace lumeno {

class FittingText;
class OverlayModel;

// A finished draft that found no field to go into: how to place it, the draft itself, and Insert and Copy.
class PendingCard : public QWidget {
    Q_OBJECT
public:
    explicit PendingCard(OverlayModel& model, QWidget* parent = nullptr);

    static QString note(const OverlayModel& model);

private:
    void refresh();

    OverlayModel& model_;
    FittingText* note_;
    QWidget* details_;
    FittingText* draft_;
};

} // namespace lumeno
