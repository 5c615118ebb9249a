#include "TableTestSupport.h"

#include "kit/Animator.h"
#include "kit/Button.h"
#include "kit/TableViewCellEditingControl.h"

#include <gtest/gtest.h>

namespace {

// A plain table of 20 rows filling the root below a 20-point bar, driven by touches.
class TableViewInteractionTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        table->setDataSource(source);
        table->setDelegate(delegate);
        root->addSubview(table);
        table->layoutIfNeeded();
    }
    // Animations left running would tick on a loop that is gone.
    void TearDown() override {
        advance(1.0);
        EXPECT_FALSE(Animator::hasRunningAnimations());
    }

    // The window point at the middle of a row on screen.
    Point rowPoint(int row, double x = 160) const {
        const Rect rect = table->rectForRowAtIndexPath({row, 0});
        return table->convertPointToView({x, rect.midY()}, root.get());
    }
    void tap(Point point) {
        down(0, point);
        advance(0.05);
        up(0, point);
    }
    std::shared_ptr<TableViewCell> cell(int row) const { return table->cellForRowAtIndexPath({row, 0}); }
    QString selected() const {
        const auto row = table->indexPathForSelectedRow();
        return row ? row->toString() : QStringLiteral("none");
    }

    std::shared_ptr<RowSource> source = std::make_shared<RowSource>(std::vector<int>{20});
    std::shared_ptr<RowDelegate> delegate = std::make_shared<RowDelegate>();
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 20, 320, 416));
};

TEST_F(TableViewInteractionTest, ARestingFingerHighlightsAfterADelayAndLiftingSelects) {
    down(0, rowPoint(1));
    advance(0.1);
    EXPECT_FALSE(cell(1)->highlighted());
    advance(0.1);
    EXPECT_TRUE(cell(1)->highlighted());
    EXPECT_TRUE(cell(1)->textLabel().highlighted());
    EXPECT_TRUE(delegate->log.isEmpty());
    up(0, rowPoint(1));
    EXPECT_EQ(delegate->log.join(','), "will 0.1,did 0.1");
    EXPECT_EQ(selected(), "0.1");
    EXPECT_TRUE(cell(1)->selected());
    EXPECT_FALSE(cell(1)->highlighted());
    EXPECT_TRUE(cell(1)->textLabel().highlighted());

    // Another tap moves the selection and tells of the one it took.
    delegate->log.clear();
    tap(rowPoint(4));
    EXPECT_EQ(delegate->log.join(','), "will 0.4,deselected 0.1,did 0.4");
    EXPECT_FALSE(cell(1)->selected());
    EXPECT_TRUE(cell(4)->selected());
}

TEST_F(TableViewInteractionTest, AFingerThatStartsScrollingNeitherHighlightsNorSelects) {
    down(0, rowPoint(5));
    drag(0, rowPoint(5), rowPoint(5).offset(0, -60), 6, 0.02);
    EXPECT_EQ(delegate->log.join(','), "drag");
    advance(0.3);
    EXPECT_FALSE(cell(5)->highlighted());
    up(0, rowPoint(5).offset(0, -60));
    EXPECT_EQ(delegate->log.join(','), "drag");
    EXPECT_EQ(selected(), "none");
    for (const auto& shown : table->visibleCells()) {
        EXPECT_FALSE(shown->highlighted() || shown->selected());
    }
}

TEST_F(TableViewInteractionTest, ATapOnAPinnedHeaderSelectsNoRowBeneathIt) {
    source->headers = {{0, "Header"}};
    table->reloadData();
    table->setContentOffset({0, 200});
    ASSERT_EQ(table->headerViewForSection(0)->frame().y(), 200);
    tap(table->convertPointToView({160, 210}, root.get()));
    EXPECT_EQ(selected(), "none");
    tap(table->convertPointToView({160, 240}, root.get()));
    EXPECT_EQ(selected(), "0.4");
}

TEST_F(TableViewInteractionTest, TheDelegateMayRedirectOrRefuseTheSelection) {
    delegate->redirect = IndexPath(3, 0);
    tap(rowPoint(1));
    EXPECT_EQ(delegate->log.join(','), "will 0.1,did 0.3");
    EXPECT_EQ(selected(), "0.3");
    EXPECT_FALSE(cell(1)->selected());
    EXPECT_FALSE(cell(1)->highlighted());
    EXPECT_TRUE(cell(3)->selected());

    delegate->log.clear();
    delegate->redirect.reset();
    delegate->refuse = true;
    tap(rowPoint(6));
    EXPECT_EQ(delegate->log.join(','), "will 0.6");
    EXPECT_EQ(selected(), "0.3");
    EXPECT_FALSE(cell(6)->selected());
    EXPECT_FALSE(cell(6)->highlighted());
}

TEST_F(TableViewInteractionTest, SelectionCanBeSwitchedOffAndDoesNotReachTheDelegateWhenProgrammatic) {
    table->setAllowsSelection(false);
    tap(rowPoint(2));
    EXPECT_EQ(selected(), "none");
    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    EXPECT_EQ(selected(), "0.2");
    EXPECT_TRUE(cell(2)->selected());
    EXPECT_TRUE(delegate->log.isEmpty());

    // Selecting with a position scrolls the row there.
    table->selectRowAtIndexPath(IndexPath(10, 0), false, TableView::ScrollPosition::Middle);
    EXPECT_EQ(table->contentOffset().y(), 10 * 44 + 22 - 208);
    EXPECT_TRUE(cell(10)->selected());
    EXPECT_FALSE(table->cellForRowAtIndexPath({2, 0}) && table->cellForRowAtIndexPath({2, 0})->selected());
    EXPECT_TRUE(delegate->log.isEmpty());
}

TEST_F(TableViewInteractionTest, AnAnimatedDeselectionFadesTheSelectionOutOverAThirdOfASecond) {
    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    const auto background = cell(2)->selectedBackgroundView();
    EXPECT_FALSE(background->hidden());
    table->deselectRowAtIndexPath({2, 0}, true);
    EXPECT_EQ(selected(), "none");
    EXPECT_FALSE(cell(2)->selected());
    EXPECT_FALSE(cell(2)->textLabel().highlighted());
    advance(0.15);
    EXPECT_FALSE(background->hidden());
    EXPECT_GT(background->presentationAlpha(), 0.2);
    EXPECT_LT(background->presentationAlpha(), 0.8);
    advance(0.2);
    EXPECT_TRUE(background->hidden());

    // Selecting again during a fade shows the selection fully at once.
    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    table->deselectRowAtIndexPath({2, 0}, true);
    advance(0.1);
    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    EXPECT_DOUBLE_EQ(background->presentationAlpha(), 1.0);
    advance(0.5);
    EXPECT_FALSE(background->hidden());
}

TEST_F(TableViewInteractionTest, ReloadingClearsTheSelectionWhileInsertsAndDeletesMoveIt) {
    table->selectRowAtIndexPath(IndexPath(3, 0), false, TableView::ScrollPosition::None);
    source->rows[0].insert(source->rows[0].begin(), "new");
    table->insertRowsAtIndexPaths({{0, 0}}, TableView::RowAnimation::None);
    EXPECT_EQ(selected(), "0.4");
    EXPECT_TRUE(cell(4)->selected());
    EXPECT_EQ(cell(4)->textLabel().text(), "0.3");
    EXPECT_EQ(cell(0)->textLabel().text(), "new");
    EXPECT_EQ(table->numberOfRowsInSection(0), 21);

    source->rows[0].erase(source->rows[0].begin() + 1);
    table->deleteRowsAtIndexPaths({{1, 0}}, TableView::RowAnimation::None);
    EXPECT_EQ(selected(), "0.3");
    EXPECT_EQ(cell(3)->textLabel().text(), "0.3");
    EXPECT_EQ(describe(cell(3)->frame()), "0,132 320x44");

    table->reloadRowsAtIndexPaths({{5, 0}}, TableView::RowAnimation::None);
    EXPECT_EQ(selected(), "0.3");
    table->reloadRowsAtIndexPaths({{3, 0}}, TableView::RowAnimation::Fade);
    EXPECT_EQ(selected(), "none");
    EXPECT_FALSE(cell(3)->selected());

    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    source->rows[0].erase(source->rows[0].begin() + 2);
    table->deleteRowsAtIndexPaths({{2, 0}}, TableView::RowAnimation::None);
    EXPECT_EQ(selected(), "none");

    table->selectRowAtIndexPath(IndexPath(2, 0), false, TableView::ScrollPosition::None);
    table->reloadData();
    EXPECT_EQ(selected(), "none");
    for (const auto& shown : table->visibleCells()) {
        EXPECT_FALSE(shown->selected());
    }
}

TEST_F(TableViewInteractionTest, AnimatedRowChangesSlideTheRowsAfterThemAndFadeTheRemovedOut) {
    const auto second = cell(2);
    const auto removed = cell(1);
    source->rows[0].erase(source->rows[0].begin() + 1);
    table->deleteRowsAtIndexPaths({{1, 0}}, TableView::RowAnimation::Fade);
    EXPECT_EQ(cell(1), second);
    EXPECT_EQ(second->frame().y(), 44);
    advance(0.15);
    EXPECT_GT(second->presentationFrame().y(), 44);
    EXPECT_LT(second->presentationFrame().y(), 88);
    EXPECT_LT(removed->presentationAlpha(), 0.9);
    EXPECT_TRUE(removed->superview());
    advance(0.3);
    EXPECT_EQ(second->presentationFrame().y(), 44);
    EXPECT_FALSE(removed->superview());
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Row"), removed);
}

class TableViewEditingTest : public TableViewInteractionTest {
protected:
    void SetUp() override {
        source->rows[0].resize(5);
        source->locked = {IndexPath(2, 0)};
        delegate->insertRows = {IndexPath(4, 0)};
        TableViewInteractionTest::SetUp();
        table->setEditing(true, false);
        table->layoutIfNeeded();
        for (const auto& shown : table->visibleCells()) {
            shown->layoutIfNeeded();
        }
    }
};

TEST_F(TableViewEditingTest, EditableRowsShowTheirControlsAndIndentTheirContent) {
    ASSERT_TRUE(cell(0)->editingControl());
    EXPECT_FALSE(cell(0)->editingControl()->isInsert());
    EXPECT_TRUE(cell(4)->editingControl()->isInsert());
    EXPECT_FALSE(cell(2)->editingControl());
    EXPECT_EQ(cell(2)->editingStyle(), TableViewCell::EditingStyle::None);
    EXPECT_EQ(cell(0)->contentView().frame().x(), TableViewCellEditingControl::width);
    EXPECT_TRUE(cell(0)->editing());

    table->setEditing(false, false);
    cell(0)->layoutIfNeeded();
    EXPECT_FALSE(cell(0)->editingControl());
    EXPECT_EQ(cell(0)->contentView().frame().x(), 0);
    EXPECT_FALSE(cell(0)->editing());
}

TEST_F(TableViewEditingTest, TheRedControlAsksForConfirmationAndTheDeleteButtonCommits) {
    tap(rowPoint(1, 16));
    ASSERT_TRUE(cell(1)->showingDeleteConfirmation());
    EXPECT_TRUE(cell(1)->editingControl()->confirming());
    Button* button = cell(1)->deleteConfirmationButton();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->currentTitle(), "Delete");
    EXPECT_EQ(describe(button->frame()), "246,7 64x31");
    EXPECT_TRUE(source->log.isEmpty());
    advance(0.4);

    const Point delete_ = cell(1)->convertPointToView(button->center(), root.get());
    tap(delete_);
    EXPECT_EQ(source->log.join(','), "delete 0.1");
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(selected(), "none");
    advance(0.5);
    EXPECT_EQ(cell(1)->textLabel().text(), "0.2");
    EXPECT_FALSE(cell(1)->showingDeleteConfirmation());
}

TEST_F(TableViewEditingTest, ADeleteButtonHeldByAFingerPastItsRowReportsNothing) {
    tap(rowPoint(1, 16));
    advance(0.4);
    const std::weak_ptr<TableViewCell> row = cell(1);
    const Point delete_ =
        cell(1)->convertPointToView(cell(1)->deleteConfirmationButton()->center(), root.get());
    down(0, delete_);
    // The table goes, with its rows; the finger in play still holds the button.
    table->removeFromSuperview();
    table.reset();
    ASSERT_TRUE(row.expired());
    // Lifted where the button, now on its own, counts it as inside.
    up(0, Point(10, 10));
    EXPECT_TRUE(source->log.isEmpty());
}

TEST_F(TableViewEditingTest, ATouchElsewhereOnlyTakesTheConfirmationAway) {
    tap(rowPoint(0, 16));
    ASSERT_TRUE(cell(0)->showingDeleteConfirmation());
    table->setAllowsSelectionDuringEditing(true);
    tap(rowPoint(3));
    EXPECT_FALSE(cell(0)->showingDeleteConfirmation());
    EXPECT_EQ(selected(), "none");
    EXPECT_TRUE(source->log.isEmpty());
    // The next tap selects, as selection is allowed while editing here.
    tap(rowPoint(3));
    EXPECT_EQ(selected(), "0.3");
    // A second tap on the red control also takes the confirmation away.
    tap(rowPoint(1, 16));
    tap(rowPoint(1, 16));
    EXPECT_FALSE(cell(1)->showingDeleteConfirmation());
}

TEST_F(TableViewEditingTest, TheGreenControlCommitsAnInsertionAtOnce) {
    tap(rowPoint(4, 16));
    EXPECT_EQ(source->log.join(','), "insert 0.4");
    EXPECT_EQ(table->numberOfRowsInSection(0), 6);
    EXPECT_EQ(cell(4)->textLabel().text(), "new");
    EXPECT_TRUE(cell(4)->editing());
    // Rows are not selected while editing unless the table allows it.
    tap(rowPoint(0));
    EXPECT_EQ(selected(), "none");
}

} // namespace

namespace {

// A custom row that logs its hooks.
class SpyCell : public TableViewCell {
public:
    explicit SpyCell(QStringList& log) : TableViewCell(Style::Default, "Spy"), m_log(log) {}

    void prepareForReuse() override {
        TableViewCell::prepareForReuse();
        m_log.append("reuse");
    }

protected:
    void selectionChanged(bool animated) override {
        m_log.append(QStringLiteral("selection %1%2%3")
                         .arg(selected() ? "S" : "-")
                         .arg(highlighted() ? "H" : "-")
                         .arg(animated ? " animated" : ""));
    }
    void editingChanged(bool animated) override {
        m_log.append(
            QStringLiteral("editing %1%2").arg(editing() ? "on" : "off").arg(animated ? " animated" : ""));
    }

private:
    QStringList& m_log;
};

// Rows of spy cells with a detail button, a custom header view, and a log of the reports.
class SpySource : public TableViewDataSource, public TableViewDelegate {
public:
    int numberOfRowsInSection(TableView&, int) override { return 30; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView, const IndexPath&) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("Spy");
        if (!cell) {
            cell = std::make_shared<SpyCell>(log);
        }
        cell->setAccessoryType(TableViewCell::AccessoryType::DetailDisclosureButton);
        return cell;
    }
    std::shared_ptr<View> viewForHeaderInSection(TableView&, int) override { return header; }
    void willDisplayCell(TableView&, TableViewCell&, const IndexPath& indexPath) override {
        displayed.append(indexPath.toString());
    }
    void accessoryButtonTappedForRowWithIndexPath(TableView&, const IndexPath& indexPath) override {
        log.append("accessory " + indexPath.toString());
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        log.append("did " + indexPath.toString());
    }

    std::shared_ptr<View> header = std::make_shared<View>(Rect(0, 0, 1, 1));
    QStringList log;
    QStringList displayed;
};

class TableViewCustomRowTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        table->setDataSource(spy);
        table->setDelegate(spy);
        root->addSubview(table);
        table->layoutIfNeeded();
    }
    void TearDown() override { advance(1.0); }

    std::shared_ptr<SpySource> spy = std::make_shared<SpySource>();
    std::shared_ptr<TableView> table = std::make_shared<TableView>(Rect(0, 0, 320, 220));
};

TEST_F(TableViewCustomRowTest, CustomRowsHearOfSelectionEditingAndReuse) {
    // A custom header view takes the plain header height.
    EXPECT_EQ(table->headerViewForSection(0), spy->header);
    EXPECT_EQ(describe(spy->header->frame()), "0,0 320x22");
    EXPECT_EQ(spy->displayed.join(' '), "0.0 0.1 0.2 0.3 0.4");
    spy->log.clear();

    const auto cell = table->cellForRowAtIndexPath({1, 0});
    table->selectRowAtIndexPath(IndexPath(1, 0), false, TableView::ScrollPosition::None);
    table->deselectRowAtIndexPath({1, 0}, true);
    table->setEditing(true, true);
    EXPECT_EQ(spy->log.mid(0, 3).join(','), "selection S-,selection -- animated,editing on animated");
    table->setEditing(false, false);

    spy->log.clear();
    table->setContentOffset({0, 400});
    EXPECT_TRUE(spy->log.contains("reuse"));
    EXPECT_TRUE(spy->displayed.contains("0.9"));
    EXPECT_FALSE(cell->selected());
}

TEST_F(TableViewCustomRowTest, TheDetailButtonReportsItsRowWithoutSelectingIt) {
    const auto cell = table->cellForRowAtIndexPath({2, 0});
    cell->layoutIfNeeded();
    View* button = cell->standardAccessoryView();
    ASSERT_TRUE(button);
    const Point point = cell->convertPointToView(button->center(), root.get());
    spy->log.clear();
    down(0, point);
    advance(0.05);
    up(0, point);
    EXPECT_EQ(spy->log.join(','), "accessory 0.2");
    EXPECT_FALSE(table->indexPathForSelectedRow());
    // A tap on the row itself highlights it, selects it, then takes the highlight away.
    down(0, cell->convertPointToView({100, 20}, root.get()));
    up(0, cell->convertPointToView({100, 20}, root.get()));
    EXPECT_EQ(spy->log.join(','), "accessory 0.2,selection -H,selection SH,did 0.2,selection S-");
}

} // namespace
