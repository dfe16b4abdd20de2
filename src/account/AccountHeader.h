#pragma once

#include <QWidget>

namespace lumeno {

class TextLabel;

// The top of the Account tab: the person symbol, a headline and a line under it.
class AccountHeader : public QWidget {
    Q_OBJECT
public:
    explicit AccountHeader(QWidget* parent = nullptr);

    // An empty `subtitle` hides the second line.
    void setLines(const QString& title, const QString& subtitle);

private:
    TextLabel* title_;
    TextLabel* subtitle_;
};

} // namespace lumeno
