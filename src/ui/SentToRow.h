#pragma once

#include <QWidget>

namespace lumeno {

class TextLabel;

// The address a sign-in code went to, with a link-style "Change" to go back and type another.
class SentToRow : public QWidget {
    Q_OBJECT
public:
    explicit SentToRow(QWidget* parent = nullptr);

    void setAddress(const QString& address);

signals:
    void changeRequested();

private:
    TextLabel* address_;
};

} // namespace lumeno
