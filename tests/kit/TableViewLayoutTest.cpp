#include "TableTestSupport.h"

#include "kit/Animator.h"
#include "kit/ImageView.h"
#include "kit/TableViewCellBackgroundView.h"
#include "kit/TableViewSectionHeaderView.h"

#include <gtest/gtest.h>

namespace {

class TableViewLayoutTest : public testing::Test, public ManualMainLoop {
protected:
    void TearDown() override {
        m_loop->advance(1.0);
        EXPECT_FALSE(Animator::hasRunningAnimations());
    }
    std::shared_ptr<TableView> makeTable(TableView::Style style, std::vector<int> rows, double height = 416) {
        source = std::make_shared<RowSource>(std::move(rows));
        table = std::make_shared<TableView>(Rect(0, 0, 320, height), style);
        table->setDataSource(source);
        table->setDelegate(delegate);
        return table;
    }

    static TableViewCellBackgroundView::Position position(const TableViewCell& cell) {
        return std::static_pointer_cast<TableViewCellBackgroundView>(cell.backgroundView())->position();
    }

    std::shared_ptr<RowSource> source;
    std::shared_ptr<RowDelegate> delegate = std::make_shared<RowDelegate>();
    std::shared_ptr<TableView> table;
};

TEST_F(TableViewLayoutTest, GroupedSectionsStackHeadersRowsAndFootersWithSideMargins) {
    makeTable(TableView::Style::Grouped, {3, 2});
    source->headers = {{0, "First"}, {1, "Second"}};
    source->footers = {{1, "A longer explanation below the second group"}};
    table->reloadData();

    // A titled first header is 46 high, a later one 36; untitled footers keep the 10 default.
    EXPECT_EQ(describe(table->rectForHeaderInSection(0)), "0,0 320x46");
    EXPECT_EQ(describe(table->rectForRowAtIndexPath({0, 0})), "10,46 300x44");
    EXPECT_EQ(describe(table->rectForRowAtIndexPath({2, 0})), "10,134 300x44");
    EXPECT_EQ(describe(table->rectForFooterInSection(0)), "0,178 320x10");
    EXPECT_EQ(describe(table->rectForHeaderInSection(1)), "0,188 320x36");
    EXPECT_EQ(describe(table->rectForRowAtIndexPath({1, 1})), "10,268 300x44");
    const double footer = TableViewSectionHeaderView::groupedFooterHeight(source->footers[1], 320);
    EXPECT_GT(footer, 20);
    EXPECT_EQ(describe(table->rectForFooterInSection(1)), describe(Rect(0, 312, 320, footer)));
    EXPECT_EQ(describe(table->rectForSection(1)), describe(Rect(0, 188, 320, 124 + footer)));
    EXPECT_EQ(table->contentSize().height(), 312 + footer);

    // The rows on screen sit in their rectangles and know their place in the group.
    EXPECT_EQ(visibleRows(*table), "0.0 0.1 0.2 1.0 1.1");
    const auto first = table->cellForRowAtIndexPath({0, 0});
    ASSERT_TRUE(first);
    EXPECT_EQ(describe(first->frame()), "10,46 300x44");
    EXPECT_EQ(first->textLabel().text(), "0.0");
    using Position = TableViewCellBackgroundView::Position;
    EXPECT_EQ(position(*first), Position::Top);
    EXPECT_EQ(position(*table->cellForRowAtIndexPath({1, 0})), Position::Middle);
    EXPECT_EQ(position(*table->cellForRowAtIndexPath({2, 0})), Position::Bottom);
    EXPECT_EQ(position(*table->cellForRowAtIndexPath({0, 1})), Position::Top);

    // Titles become header and footer views in the grouped look.
    const auto header = std::dynamic_pointer_cast<TableViewSectionHeaderView>(table->headerViewForSection(1));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->kind(), TableViewSectionHeaderView::Kind::GroupedHeader);
    EXPECT_EQ(header->title(), "Second");
    EXPECT_EQ(describe(header->frame()), "0,188 320x36");
    EXPECT_FALSE(table->footerViewForSection(0));
    const auto footerView =
        std::dynamic_pointer_cast<TableViewSectionHeaderView>(table->footerViewForSection(1));
    ASSERT_TRUE(footerView);
    EXPECT_EQ(footerView->kind(), TableViewSectionHeaderView::Kind::GroupedFooter);
}

TEST_F(TableViewLayoutTest, TheDelegatesHeightsWinOverTheTablesOwn) {
    makeTable(TableView::Style::Grouped, {1, 1, 0});
    delegate->headerHeights = {{0, 40}, {1, 40}, {2, 0.1}};
    delegate->footerHeights = {{0, 0.1}, {1, 0.1}, {2, 35}};
    delegate->rowHeights = {{{0, 1}, 42}};
    table->setRowHeight(50);
    table->reloadData();

    EXPECT_EQ(describe(table->rectForRowAtIndexPath({0, 0})), "10,40 300x50");
    EXPECT_DOUBLE_EQ(table->rectForHeaderInSection(1).y(), 90.1);
    EXPECT_DOUBLE_EQ(table->rectForRowAtIndexPath({0, 1}).height(), 42);
    EXPECT_DOUBLE_EQ(table->rectForFooterInSection(2).height(), 35);
    EXPECT_DOUBLE_EQ(table->contentSize().height(), 40 + 50 + 0.1 + 40 + 42 + 0.1 + 0.1 + 35);
    EXPECT_EQ(table->numberOfRowsInSection(2), 0);
    EXPECT_EQ(position(*table->cellForRowAtIndexPath({0, 0})), TableViewCellBackgroundView::Position::Single);
}

TEST_F(TableViewLayoutTest, PlainHeadersStickToTheTopUntilTheirSectionEnds) {
    makeTable(TableView::Style::Plain, {10, 10, 10}, 200);
    source->headers = {{0, "A"}, {1, "B"}, {2, "C"}};
    table->reloadData();

    EXPECT_EQ(describe(table->rectForHeaderInSection(0)), "0,0 320x22");
    EXPECT_EQ(describe(table->rectForRowAtIndexPath({0, 0})), "0,22 320x44");
    EXPECT_EQ(describe(table->rectForHeaderInSection(1)), "0,462 320x22");
    ASSERT_TRUE(table->headerViewForSection(0));

    table->setContentOffset({0, 100});
    EXPECT_EQ(describe(table->headerViewForSection(0)->frame()), "0,100 320x22");
    // The header is in front of the rows passing under it.
    EXPECT_EQ(table->subviews().back(), table->headerViewForSection(0));

    // Near the end of the section the next header pushes it up.
    table->setContentOffset({0, 450});
    EXPECT_EQ(describe(table->headerViewForSection(0)->frame()), "0,440 320x22");
    EXPECT_EQ(describe(table->headerViewForSection(1)->frame()), "0,462 320x22");

    table->setContentOffset({0, 700});
    EXPECT_FALSE(table->headerViewForSection(0));
    EXPECT_EQ(describe(table->headerViewForSection(1)->frame()), "0,700 320x22");

    // Sections without a title have no header in a plain table.
    source->headers.erase(1);
    table->reloadData();
    EXPECT_DOUBLE_EQ(table->rectForHeaderInSection(1).height(), 0);
    EXPECT_FALSE(table->headerViewForSection(1));
}

TEST_F(TableViewLayoutTest, OnlyTheRowsOnScreenExistAndScrolledAwayRowsAreReused) {
    makeTable(TableView::Style::Plain, {100});
    table->layoutIfNeeded();
    // Rows 0 to 9 reach into the 416 points.
    EXPECT_EQ(table->visibleCells().size(), 10u);
    EXPECT_EQ(source->created, 10);
    EXPECT_EQ(table->contentSize().height(), 4400);

    for (double y = 0; y <= 2000; y += 22) {
        table->setContentOffset({0, y});
    }
    EXPECT_EQ(table->contentOffset().y(), 1980);
    EXPECT_EQ(visibleRows(*table), "0.45 0.46 0.47 0.48 0.49 0.50 0.51 0.52 0.53 0.54");
    EXPECT_EQ(table->cellForRowAtIndexPath({45, 0})->textLabel().text(), "0.45");
    EXPECT_EQ(describe(table->cellForRowAtIndexPath({45, 0})->frame()), "0,1980 320x44");
    // Scrolling by half a row shows one row more at most, so only one more row was ever made.
    EXPECT_LE(source->created, 11);
    EXPECT_GT(source->reused, 40);
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 0}));
    EXPECT_EQ(table->subviews().size(), table->visibleCells().size());

    // A jump reuses the waiting rows as well.
    table->setContentOffset({0, 0});
    EXPECT_EQ(visibleRows(*table), "0.0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9");
    EXPECT_LE(source->created, 11);
}

TEST_F(TableViewLayoutTest, ARowIsFoundByItsPointAndARecycledRowIsResetForReuse) {
    makeTable(TableView::Style::Plain, {20});
    table->layoutIfNeeded();
    EXPECT_EQ(table->indexPathForRowAtPoint({5, 100})->toString(), "0.2");
    EXPECT_FALSE(table->indexPathForRowAtPoint({5, 900}));

    table->selectRowAtIndexPath(IndexPath(1, 0), false, TableView::ScrollPosition::None);
    const auto selected = table->cellForRowAtIndexPath({1, 0});
    ASSERT_TRUE(selected->selected());
    table->setContentOffset({0, 440});
    EXPECT_FALSE(table->cellForRowAtIndexPath({1, 0}));
    // The selection belongs to the index path, not to the recycled view.
    EXPECT_EQ(table->indexPathForSelectedRow()->toString(), "0.1");
    EXPECT_FALSE(selected->selected());
    table->setContentOffset({0, 0});
    EXPECT_TRUE(table->cellForRowAtIndexPath({1, 0})->selected());
    EXPECT_FALSE(table->cellForRowAtIndexPath({2, 0})->selected());
}

TEST_F(TableViewLayoutTest, ScrollingToARowPutsItAtTheTopMiddleOrBottomWithinTheContent) {
    makeTable(TableView::Style::Plain, {100});
    table->layoutIfNeeded();
    table->scrollToRowAtIndexPath({20, 0}, TableView::ScrollPosition::Top, false);
    EXPECT_EQ(table->contentOffset().y(), 880);
    EXPECT_TRUE(table->cellForRowAtIndexPath({20, 0}));
    table->scrollToRowAtIndexPath({20, 0}, TableView::ScrollPosition::Middle, false);
    EXPECT_EQ(table->contentOffset().y(), 880 + 22 - 208);
    table->scrollToRowAtIndexPath({20, 0}, TableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(table->contentOffset().y(), 924 - 416);
    // A row near the end can only come as far as the content allows.
    table->scrollToRowAtIndexPath({98, 0}, TableView::ScrollPosition::Top, false);
    EXPECT_EQ(table->contentOffset().y(), 4400 - 416);
    table->scrollToRowAtIndexPath({1, 0}, TableView::ScrollPosition::Middle, false);
    EXPECT_EQ(table->contentOffset().y(), 0);
    // None scrolls as little as needed, and not at all for a row in view.
    table->scrollToRowAtIndexPath({30, 0}, TableView::ScrollPosition::None, false);
    EXPECT_EQ(table->contentOffset().y(), 31 * 44 - 416);
    table->scrollToRowAtIndexPath({25, 0}, TableView::ScrollPosition::None, false);
    EXPECT_EQ(table->contentOffset().y(), 31 * 44 - 416);
    table->scrollToRowAtIndexPath({2, 0}, TableView::ScrollPosition::None, false);
    EXPECT_EQ(table->contentOffset().y(), 88);
}

TEST_F(TableViewLayoutTest, AnimatedScrollingMovesOverTheAnimationTimeAndKeepsTheRowsCurrent) {
    makeTable(TableView::Style::Plain, {100});
    source->headers = {{0, "Only"}};
    table->layoutIfNeeded();
    table->scrollToRowAtIndexPath({20, 0}, TableView::ScrollPosition::Top, true);
    EXPECT_EQ(table->contentOffset().y(), 0);
    m_loop->advance(0.5);
    // In a plain table the row comes to rest below its section's header.
    EXPECT_EQ(table->contentOffset().y(), 22 + 880 - 22);
    // The row above it passes under the header.
    EXPECT_EQ(visibleRows(*table).split(' ').first(), "0.19");
    EXPECT_EQ(table->headerViewForSection(0)->frame().y(), 880);
}

TEST_F(TableViewLayoutTest, TableHeaderAndFooterViewsFrameTheSections) {
    makeTable(TableView::Style::Plain, {2});
    table->setTableHeaderView(std::make_shared<View>(Rect(0, 0, 10, 50)));
    table->setTableFooterView(std::make_shared<View>(Rect(0, 0, 10, 30)));
    table->reloadData();
    EXPECT_EQ(describe(table->tableHeaderView()->frame()), "0,0 320x50");
    EXPECT_EQ(describe(table->rectForRowAtIndexPath({0, 0})), "0,50 320x44");
    EXPECT_EQ(describe(table->tableFooterView()->frame()), "0,138 320x30");
    EXPECT_EQ(table->contentSize().height(), 168);
}

TEST_F(TableViewLayoutTest, ReloadingFewerRowsBringsTheOffsetBackWithinTheContent) {
    makeTable(TableView::Style::Plain, {100});
    table->layoutIfNeeded();
    table->setContentOffset({0, 3000});
    source->rows[0].resize(12);
    table->reloadData();
    EXPECT_EQ(table->contentOffset().y(), 12 * 44 - 416);
    EXPECT_EQ(visibleRows(*table), "0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 0.10 0.11");
}

class TableViewCellLayoutTest : public testing::Test, public ManualMainLoop {};

TEST_F(TableViewCellLayoutTest, Value1PutsTheDetailAtTheRightAndTheAccessoryNarrowsTheContent) {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, "v");
    cell->setFrame({0, 0, 300, 44});
    cell->textLabel().setText("Week numbers");
    cell->detailTextLabel().setText("ISO");
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->contentView().frame().width(), 300);
    EXPECT_DOUBLE_EQ(cell->detailTextLabel().frame().maxX(), 290);
    EXPECT_EQ(cell->textLabel().frame().x(), 10);
    EXPECT_LT(cell->textLabel().frame().maxX(), cell->detailTextLabel().frame().x());
    EXPECT_EQ(cell->detailTextLabel().textColor(), TableViewCell::value1DetailColor());

    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->layoutIfNeeded();
    ASSERT_NE(cell->standardAccessoryView(), nullptr);
    const Rect accessory = cell->standardAccessoryView()->frame();
    EXPECT_EQ(describe(accessory), "280,15 10x14");
    EXPECT_EQ(cell->contentView().frame().width(), 280);
    EXPECT_DOUBLE_EQ(cell->detailTextLabel().frame().maxX(), 270);

    cell->setAccessoryType(TableViewCell::AccessoryType::None);
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->standardAccessoryView(), nullptr);
    EXPECT_EQ(cell->contentView().frame().width(), 300);
}

TEST_F(TableViewCellLayoutTest, SubtitleStacksTheTextsAndTheImageMovesThemRight) {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, "s");
    cell->setFrame({0, 0, 320, 60});
    cell->textLabel().setText("Title");
    cell->detailTextLabel().setText("Detail");
    cell->imageView().setImage(TableViewCell::checkmarkImage(false));
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->imageView().frame().x(), 10);
    EXPECT_EQ(cell->textLabel().frame().x(), 34);
    EXPECT_EQ(cell->detailTextLabel().frame().x(), 34);
    EXPECT_DOUBLE_EQ(cell->detailTextLabel().frame().y(), cell->textLabel().frame().maxY());
    EXPECT_FALSE(cell->detailTextLabel().hidden());

    auto plain = std::make_shared<TableViewCell>(TableViewCell::Style::Default, "d");
    plain->setFrame({0, 0, 320, 44});
    plain->textLabel().setText("Only a title");
    plain->detailTextLabel().setText("never shown");
    plain->layoutIfNeeded();
    EXPECT_TRUE(plain->detailTextLabel().hidden());
    EXPECT_TRUE(plain->imageView().hidden());
    EXPECT_EQ(describe(plain->textLabel().frame()), "10,0 300x44");
}

TEST_F(TableViewCellLayoutTest, SelectingTurnsTheLabelsWhiteAndShowsTheSelectedBackground) {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, "v");
    cell->setFrame({0, 0, 320, 44});
    cell->textLabel().setText("Title");
    auto custom = std::make_shared<Label>();
    custom->setHighlightedTextColor(Color(1, 1, 1));
    cell->contentView().addSubview(custom);
    cell->setAccessoryType(TableViewCell::AccessoryType::Checkmark);
    cell->layoutIfNeeded();
    EXPECT_TRUE(cell->selectedBackgroundView()->hidden());

    cell->setSelected(true);
    EXPECT_TRUE(cell->textLabel().highlighted());
    EXPECT_TRUE(cell->detailTextLabel().highlighted());
    EXPECT_TRUE(custom->highlighted());
    EXPECT_TRUE(static_cast<ImageView*>(cell->standardAccessoryView())->highlighted());
    EXPECT_FALSE(cell->selectedBackgroundView()->hidden());

    cell->setSelected(false);
    EXPECT_FALSE(custom->highlighted());
    EXPECT_TRUE(cell->selectedBackgroundView()->hidden());

    // Without a selection style nothing shows, though the row is selected.
    cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    cell->setSelected(true);
    EXPECT_TRUE(cell->selected());
    EXPECT_FALSE(cell->textLabel().highlighted());
    EXPECT_TRUE(cell->selectedBackgroundView()->hidden());
}

} // namespace
