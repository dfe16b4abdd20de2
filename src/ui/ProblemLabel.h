#pragma once

#include <QWidget>
#include <optional>

namespace lumeno {

class TextLabel;

// A problem shown under the control it belongs to: the warning triangle and the text, in orange. Hidden
// while there is none. The text is shown as plain text, whoever wrote it.
class ProblemLabel : public QWidget {
    Q_OBJECT
public:
    explicit ProblemLabel(QWidget* parent = nullptr);

    void setProblem(const std::optional<QString>& problem);
    QString text() const;

private:
    TextLabel* text_;
};

} // namespace lumeno
