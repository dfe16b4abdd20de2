#include "testsupport/QtPrinters.h"
#include "ui/WindowCloseKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

// Takes Escape itself, as an edit in a list does to end the edit.
class EscapingEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape)
            event->accept();
        else
            QLineEdit::keyPressEvent(event);
    }
};

TEST(WindowCloseKeysTest, EscapeAndCtrlWCloseTheWindowUnlessAControlKeepsTheKey) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    auto* editor = new EscapingEditor(&window);
    layout->addWidget(field);
    layout->addWidget(editor);
    closeOnStandardKeys(window);

    struct Press {
        QWidget* at;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool closes;
    };
    for (const Press& press : {Press{&window, Qt::Key_Escape, Qt::NoModifier, true},
                               Press{field, Qt::Key_Escape, Qt::NoModifier, true},
                               Press{field, Qt::Key_W, Qt::ControlModifier, true},
                               Press{editor, Qt::Key_Escape, Qt::NoModifier, false},
                               Press{field, Qt::Key_W, Qt::NoModifier, false},
                               Press{field, Qt::Key_A, Qt::ControlModifier, false},
                               Press{field, Qt::Key_Escape, Qt::ShiftModifier, false}}) {
        window.show();
        QTest::keyClick(press.at, press.key, press.modifiers);
        EXPECT_EQ(window.isVisible(), !press.closes)
            << QKeySequence(QKeyCombination(press.modifiers, press.key)).toString().toStdString() << " at "
            << press.at->metaObject()->className();
    }
    EXPECT_EQ(field->text(), QStringLiteral("w")) << "a plain w still types";
}

} // namespace
} // namespace lumeno
