#pragma once

#include <QAccessibleWidget>

#include <vector>

namespace lumeno {

class KeyRow;

// What a screen reader finds in the drawn keys: a group named after the keys to hold, with one element per
// drawn key, so the user can move from key to key as across the picture.
class KeyRowAccessible : public QAccessibleWidget {
public:
    explicit KeyRowAccessible(KeyRow& row);
    ~KeyRowAccessible() override;

    // Lets Qt's accessibility ask us about every KeyRow; safe to call more than once.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    KeyRow& row() const;

    // The key elements made so far, by position in the drawing; they stay for the row's lifetime and read
    // the row afresh, so a redrawn row needs no new ones.
    mutable std::vector<QAccessible::Id> keys_;
};

} // namespace lumeno
