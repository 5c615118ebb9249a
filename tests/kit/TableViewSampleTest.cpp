#include "TableTestSupport.h"

#include "kit/Animator.h"
#include "kit/ImageView.h"
#include "kit/TableViewCellEditingControl.h"
#include "kit/TableViewController.h"

#include <QDir>

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

// Sections of rows, each row made by a function; for the sample pictures and the controller.
class ListController : public TableViewController {
public:
    struct Section {
        QString header;
        QString footer;
        std::vector<std::function<void(TableViewCell&)>> rows;
    };

    explicit ListController(TableView::Style style,
                            TableViewCell::Style cellStyle = TableViewCell::Style::Default)
        : TableViewController(style), m_cellStyle(cellStyle) {}

    int numberOfSectionsInTableView(TableView&) override { return static_cast<int>(sections.size()); }
    int numberOfRowsInSection(TableView&, int section) override {
        return static_cast<int>(sections[static_cast<std::size_t>(section)].rows.size());
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("Sample");
        if (!cell) {
            cell = std::make_shared<TableViewCell>(m_cellStyle, "Sample");
        }
        sections[static_cast<std::size_t>(indexPath.section())]
            .rows[static_cast<std::size_t>(indexPath.row())](*cell);
        ++made;
        return cell;
    }
    QString titleForHeaderInSection(TableView&, int section) override {
        return sections[static_cast<std::size_t>(section)].header;
    }
    QString titleForFooterInSection(TableView&, int section) override {
        return sections[static_cast<std::size_t>(section)].footer;
    }
    TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView&,
                                                              const IndexPath& indexPath) override {
        return indexPath.row() == numberOfRowsInSection(*tableView(), indexPath.section()) - 1
                   ? TableViewCell::EditingStyle::Insert
                   : TableViewCell::EditingStyle::Delete;
    }
    void viewWillAppear(bool animated) override {
        TableViewController::viewWillAppear(animated);
        ++appearances;
    }

    std::vector<Section> sections;
    int made = 0;
    int appearances = 0;

private:
    TableViewCell::Style m_cellStyle;
};

std::function<void(TableViewCell&)>
row(const QString& text, const QString& detail = QString(),
    TableViewCell::AccessoryType accessory = TableViewCell::AccessoryType::None,
    std::optional<Color> color = std::nullopt) {
    return [=](TableViewCell& cell) {
        cell.textLabel().setText(text);
        cell.detailTextLabel().setText(detail);
        cell.setAccessoryType(accessory);
        cell.textLabel().setTextColor(color.value_or(Color(0, 0, 0)));
    };
}

class TableViewControllerTest : public testing::Test, public ManualMainLoop {
protected:
    void TearDown() override {
        m_loop->advance(1.0);
        EXPECT_FALSE(Animator::hasRunningAnimations());
    }

    static void sample(View& view, const QString& name) {
        SamplePictures::keep(view.renderToImage(), name + QStringLiteral(".png"));
    }
};

TEST_F(TableViewControllerTest, TheTableReadsItsRowsOnFirstAppearanceAndLaterAppearancesClearTheSelection) {
    auto controller = std::make_shared<ListController>(TableView::Style::Grouped);
    controller->sections = {{"A", "", {row("one"), row("two")}}};
    const auto table = controller->tableView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->style(), TableView::Style::Grouped);
    EXPECT_EQ(table->dataSource().get(), static_cast<TableViewDataSource*>(controller.get()));
    EXPECT_EQ(table->delegate().get(), static_cast<TableViewDelegate*>(controller.get()));
    EXPECT_EQ(describe(table->frame()), "0,0 320x460");

    controller->beginAppearanceTransition(true, false);
    controller->endAppearanceTransition();
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(controller->made, 2);

    table->selectRowAtIndexPath(IndexPath(1, 0), false, TableView::ScrollPosition::None);
    controller->beginAppearanceTransition(false, false);
    controller->endAppearanceTransition();
    controller->beginAppearanceTransition(true, true);
    // The rows are not read again, and the selection fades out.
    EXPECT_EQ(controller->made, 2);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(table->cellForRowAtIndexPath({1, 0})->selected());
    controller->endAppearanceTransition();

    controller->setClearsSelectionOnViewWillAppear(false);
    table->selectRowAtIndexPath(IndexPath(0, 0), false, TableView::ScrollPosition::None);
    controller->beginAppearanceTransition(false, false);
    controller->endAppearanceTransition();
    controller->beginAppearanceTransition(true, false);
    controller->endAppearanceTransition();
    EXPECT_EQ(table->indexPathForSelectedRow()->toString(), "0.0");
    EXPECT_EQ(controller->appearances, 3);
}

TEST_F(TableViewControllerTest, EditingReachesTheTableEvenBeforeItIsLoaded) {
    auto controller = std::make_shared<ListController>(TableView::Style::Plain);
    controller->sections = {{"", "", {row("one"), row("add")}}};
    controller->setEditing(true, false);
    EXPECT_TRUE(controller->editing());
    EXPECT_FALSE(controller->isViewLoaded());
    const auto table = controller->tableView();
    EXPECT_TRUE(table->editing());
    table->layoutIfNeeded();
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 0})->editing());
    EXPECT_EQ(table->cellForRowAtIndexPath({1, 0})->editingStyle(), TableViewCell::EditingStyle::Insert);
    controller->setEditing(false, true);
    EXPECT_FALSE(table->editing());
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 0})->editing());
}

TEST_F(TableViewControllerTest, SamplePictures) {
    using Accessory = TableViewCell::AccessoryType;
    const Color grey = Color::fromRgb255(128, 128, 128);

    auto settings = std::make_shared<ListController>(TableView::Style::Grouped, TableViewCell::Style::Value1);
    settings->sections = {
        {"Default Calendar", "", {row("Home", "", Accessory::DisclosureIndicator)}},
        {"Default Alert", "", {row("15 minutes before", "", Accessory::DisclosureIndicator)}},
        {"", "", {row("Week numbers", "ISO 8601", Accessory::DisclosureIndicator)}},
        {"Other",
         "",
         {row("Hints", "", Accessory::Checkmark), row("Sounds", "", Accessory::None, grey),
          row("Account", "Local", Accessory::DetailDisclosureButton)}},
        {"", "Orvella 1.0 (build 42)", {}},
    };
    auto table = settings->tableView();
    table->layoutIfNeeded();
    table->selectRowAtIndexPath(IndexPath(1, 3), false, TableView::ScrollPosition::None);
    EXPECT_TRUE(table->cellForRowAtIndexPath({1, 3})->selected());
    sample(*table, "table-grouped");

    auto list = std::make_shared<ListController>(TableView::Style::Plain, TableViewCell::Style::Subtitle);
    for (const char* day : {"Monday", "Tuesday", "Wednesday"}) {
        ListController::Section section{QString::fromLatin1(day), "", {}};
        for (int i = 0; i < 4; ++i) {
            section.rows.push_back(row(QStringLiteral("Event %1").arg(i + 1),
                                       QStringLiteral("%1:00").arg(9 + i),
                                       i == 1 ? Accessory::DisclosureIndicator : Accessory::None));
        }
        list->sections.push_back(section);
    }
    table = list->tableView();
    table->layoutIfNeeded();
    table->selectRowAtIndexPath(IndexPath(2, 1), false, TableView::ScrollPosition::None);
    table->setContentOffset({0, 60});
    EXPECT_EQ(table->headerViewForSection(0)->frame().y(), 60);
    sample(*table, "table-plain");

    auto editing = std::make_shared<ListController>(TableView::Style::Plain);
    editing->sections = {{"", "", {row("Home"), row("Work"), row("Birthdays"), row("Add Calendar...")}}};
    table = editing->tableView();
    editing->setEditing(true, false);
    table->layoutIfNeeded();
    table->cellForRowAtIndexPath({1, 0})->layoutIfNeeded();
    table->cellForRowAtIndexPath({1, 0})->editingControl()->onTapped();
    m_loop->advance(0.5);
    EXPECT_TRUE(table->cellForRowAtIndexPath({1, 0})->showingDeleteConfirmation());
    sample(*table, "table-editing");

    auto groupedEditing = std::make_shared<ListController>(TableView::Style::Grouped);
    groupedEditing->sections = {{"Local", "", {row("Home"), row("Work"), row("Add Calendar...")}}};
    table = groupedEditing->tableView();
    groupedEditing->setEditing(true, false);
    table->layoutIfNeeded();
    sample(*table, "table-grouped-editing");
}

} // namespace
