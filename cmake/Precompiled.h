// Headers that most translation units include, compiled once per target. Each group is taken only when
// the target can see it, so one header serves the Core-only libraries, the widget areas and the tests.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#if __has_include(<QCoroTask>)
#include <QCoroTask>
#endif

#if __has_include(<QWidget>)
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#endif

#if __has_include(<gtest/gtest.h>) && defined(LUMENO_TEST_DATA_DIR)
#include <gtest/gtest.h>
#endif
