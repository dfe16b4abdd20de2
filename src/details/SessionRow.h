#pragma once

#include "details/DraftDetails.h"

#include <QWidget>

namespace lumeno {

// One line of the record list: the kind with its symbol and the application, then the time and the outcome.
class SessionRow : public QWidget {
    Q_OBJECT
public:
    explicit SessionRow(const DraftDetails& details, QWidget* parent = nullptr);
};

} // namespace lumeno
