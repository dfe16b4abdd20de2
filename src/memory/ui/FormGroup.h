#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace lumeno {

// One group of a grouped form: an optional heading, a rounded box holding the controls, and an optional
// footnote under it.
class FormGroup : public QWidget {
    Q_OBJECT
public:
    explicit FormGroup(const QString& header = {}, QWidget* parent = nullptr);

    QVBoxLayout* content() const { return content_; }
    void setFooter(const QString& text);

private:
    QVBoxLayout* content_;
    QLabel* footer_;
};

} // namespace lumeno
