#include "MemoryUiTestSupport.h"

#include "memory/ui/PersonPicker.h"
#include "memory/ui/PinList.h"
#include "memory/ui/RecordTextField.h"

#include <QLabel>
#include <QMenu>

namespace lumeno {
namespace {

class PinRowTest : public MemoryUiTest {
protected:
    void open() {
        view = openView();
        view->setSection(MemoryView::Section::pins);
        QApplication::processEvents();
    }

    QList<PinRow*> rows() {
        QList<PinRow*> shown;
        for (QWidget* row : child<PinList>(*view, "pinList")->arrangedRows())
            shown.append(static_cast<PinRow*>(row));
        return shown;
    }

    std::unique_ptr<MemoryView> view;
};

TEST_F(PinRowTest, NewestPinFirstWithItsThreadElidedInTheMiddle) {
    const QString longThread = QStringLiteral("Re: Quarterly planning for the northern region offices and the "
                                              "warehouse move - Inbox - maya@northwind.se - Mail");
    memory->addPin(QStringLiteral("Door code is on the lanyard"), std::nullopt, std::nullopt);
    clock.advance(60);
    memory->addPin(QStringLiteral("Maya takes the 8:10 train"), std::nullopt, longThread);
    open();

    ASSERT_EQ(rows().size(), 2);
    PinRow* newest = rows().first();
    EXPECT_EQ(newest->record().text, QStringLiteral("Maya takes the 8:10 train"));
    auto* thread = child<QLabel>(*newest, "thread");
    EXPECT_TRUE(thread->isVisible());
    EXPECT_TRUE(thread->text().contains(QChar(0x2026)));
    EXPECT_TRUE(thread->text().startsWith(QStringLiteral("Re: Quarterly")));
    EXPECT_TRUE(thread->text().endsWith(QStringLiteral("Mail")));
    EXPECT_EQ(thread->toolTip(), longThread);
    EXPECT_FALSE(child<QLabel>(*rows().last(), "thread")->isVisible());
    picture(*view, QStringLiteral("memoryui-pins"));
}

TEST_F(PinRowTest, EditsAndPersonChoiceGoToTheStore) {
    const Person maya = memory->addPerson(QStringLiteral("Maya"), {}, QString());
    memory->addPin(QStringLiteral("Door code is on the lanyard"), std::nullopt, QStringLiteral("Office"));
    open();
    PinRow* pin = rows().first();
    auto* field = child<RecordTextField>(*pin, "recordText");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral(" Door code: 4711 "));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(onDisk().pins.first().text, QStringLiteral("Door code: 4711"));
    EXPECT_EQ(field->text(), QStringLiteral("Door code: 4711"));

    QMenu* menu = child<PersonPicker>(*pin, "personPicker")->choices();
    emit menu->aboutToShow();
    menu->actions().last()->trigger();
    EXPECT_EQ(onDisk().pins.first().personID, maya.id);
    EXPECT_EQ(onDisk().pins.first().thread, QStringLiteral("Office"));

    QTest::mouseClick(child<QWidget>(*pin, "deleteButton"), Qt::LeftButton);
    EXPECT_TRUE(onDisk().pins.isEmpty());
    EXPECT_TRUE(child<PinList>(*view, "pinList")->showsEmptyPanel());
}

} // namespace
} // namespace lumeno
