#pragma once

#include <QWidget>

class QBoxLayout;
class QSpacerItem;

namespace lumeno {

class FittingText;
class OverlayModel;
struct SaveOffer;

// After a draft went into the field: a green check and what to do next, Undo and Copy Original after an
// edit, and a chip for each thing memory offers to save.
class InsertedRow : public QWidget {
    Q_OBJECT
public:
    explicit InsertedRow(OverlayModel& model, QWidget* parent = nullptr);

    // A chip's title: cut to 54 characters and "…" from 57 characters on.
    static QString chipTitle(const QString& title);

private:
    void refresh();
    void rebuildChips();
    QWidget* chip(const SaveOffer& offer);

    OverlayModel& model_;
    FittingText* note_;
    QWidget* undo_;
    QWidget* copyOriginal_;
    QWidget* details_;
    QWidget* close_;
    QSpacerItem* closeSpacer_;
    QWidget* chips_ = nullptr;
    QBoxLayout* layout_;
};

} // namespace lumeno
