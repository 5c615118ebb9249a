#include "ui/copymove/CopyMoveMenu.h"

#include "core/eventstore/EKEvent.h"
#include "harness/ScreenHarness.h"
#include "kit/MenuController.h"
#include "kit/TableViewCell.h"
#include "ui/copymove/CopyMoveMenuResponder.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

class ChoiceLog : public CopyMoveMenuResponder {
public:
    void handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) override { note("copy", event); }
    void handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) override { note("move", event); }
    void handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) override { note("delete", event); }

    QStringList lines;

private:
    void note(const char* choice, const std::shared_ptr<EKEvent>& event) {
        lines.append(QStringLiteral("%1 %2").arg(QString::fromLatin1(choice), event->title()));
        CopyMoveMenu::instance().preventEventViewDeselection();
    }
};

// A list whose cells sit in a table below its top, as the day list's rows do.
class CopyMoveMenuOverCellTest : public testing::Test {
protected:
    void SetUp() override {
        m_harness.launch(m_root);
        m_root->addSubview(m_table);
        m_cell->setFrame(Rect(0, 88, 300, 44));
        m_table->addSubview(m_cell);
        m_event->setTitle("Lunch");
    }
    void TearDown() override { MenuController::sharedMenuController().setMenuVisible(false); }

    void showOverCell() {
        m_cell->setSelected(true);
        CopyMoveMenu::instance().setEvent(m_event);
        CopyMoveMenu::instance().showInView(*m_root, *m_cell, m_log);
        m_harness.advance(0.3);
    }

    ScreenHarness m_harness;
    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 460));
    std::shared_ptr<View> m_table = std::make_shared<View>(Rect(10, 100, 300, 300));
    std::shared_ptr<TableViewCell> m_cell = std::make_shared<TableViewCell>();
    std::shared_ptr<ChoiceLog> m_log = std::make_shared<ChoiceLog>();
    std::shared_ptr<EKEvent> m_event = std::make_shared<EKEvent>();
};

} // namespace

TEST_F(CopyMoveMenuOverCellTest, pointsAtTheCellAndLeavesItSelectedOnlyAfterAChoice) {
    showOverCell();
    const MenuController& menu = MenuController::sharedMenuController();
    ASSERT_TRUE(menu.isMenuVisible());
    // The cell's top edge in the window: the status bar, the table and the cell's own offset.
    EXPECT_DOUBLE_EQ(menu.menuFrame().maxY(), 20 + 100 + 88);
    EXPECT_NEAR(menu.menuFrame().midX(), 10 + 150, 1);

    m_harness.tap(menu.itemFrames()[1].center());
    EXPECT_EQ(m_log->lines.join(','), "move Lunch");
    EXPECT_TRUE(m_cell->selected());
    EXPECT_FALSE(CopyMoveMenu::instance().event());

    showOverCell();
    m_harness.tap(Point(160, 440));
    m_harness.advance(0.5);
    EXPECT_FALSE(m_cell->selected());
    EXPECT_EQ(m_log->lines.join(','), "move Lunch");
}
