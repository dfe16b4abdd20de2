#pragma once

#include <QAccessibleInterface>
#include <QPointer>

namespace lumeno {

class KeyRow;

// One drawn key for a screen reader: named as the key reads ("option", "command", "Q", "space"), and
// selected when it is one of the keys to hold. It is the key at `index` in its row's drawing.
class KeycapAccessible : public QAccessibleInterface {
public:
    KeycapAccessible(KeyRow& row, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text kind) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override;

    int index() const { return index_; }

private:
    QPointer<KeyRow> row_;
    int index_;
};

} // namespace lumeno
