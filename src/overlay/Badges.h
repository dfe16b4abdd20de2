#pragma once

#include <QWidget>

class QMenu;

namespace lumeno {

class CapsuleButton;
class CapsuleLabel;
class OverlayModel;

// The badges of a listening or drafting row: the text an edit changes, the context toggle and the person
// whose notes the reply uses, with a menu to pick someone else. Hidden altogether when it has nothing to
// show, so the row looks as if it were not there.
class Badges : public QWidget {
    Q_OBJECT
public:
    explicit Badges(OverlayModel& model, QWidget* parent = nullptr);

private:
    void refresh();
    void rebuildPersonMenu();

    OverlayModel& model_;
    CapsuleLabel* editTarget_;
    CapsuleButton* context_;
    CapsuleButton* personPicker_;
    CapsuleLabel* person_;
    QMenu* personMenu_;
};

} // namespace lumeno
