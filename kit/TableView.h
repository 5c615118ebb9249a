#pragma once

#include "foundation/Color.h"
#include "kit/Image.h"
#include "kit/IndexPath.h"
#include "kit/ScrollView.h"
#include "kit/TableViewCell.h"
#include "kit/TableViewDataSource.h"
#include "kit/TableViewDelegate.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class Timer;

// A vertical list of rows in sections, on a scroll view. Only the rows on screen exist as views:
// the data source makes them, ideally from the rows that scrolled away
// (dequeueReusableCellWithIdentifier), and the table lays them out with their section headers and
// footers. Plain tables fill their width with rows and keep the header of the section at the top
// in view while its rows scroll under it; grouped tables draw each section as a rounded group
// 10 points in from the sides on the striped grey-blue background, with the titles above and
// below the groups.
//
// A tap selects a row: it is highlighted once the finger has rested 0.15 seconds (or at once
// when the finger lifts first; not at all when the finger starts scrolling) and selected when the
// finger lifts on it; the delegate may redirect or refuse the selection. Programmatic selection
// reports nothing to the delegate.
//
// The data source and the delegate are held weakly, like a scroll view's delegate: their owner
// keeps them in a std::shared_ptr and sets them after construction. The delegate also receives
// the scroll view's reports; set it here, not through ScrollView::setDelegate, which the table
// keeps for itself to follow the scrolling.
class TableView : public ScrollView {
public:
    enum class Style { Plain, Grouped };
    enum class ScrollPosition { None, Top, Middle, Bottom };
    enum class RowAnimation { None, Fade, Right, Left, Top, Bottom, Middle };
    enum class SeparatorStyle { None, SingleLine };

    static constexpr double defaultRowHeight = 44.0;
    static constexpr double groupedSideMargin = 10.0;
    static constexpr double highlightDelay = 0.15;
    static constexpr double rowAnimationDuration = 0.3;

    explicit TableView(const Rect& frame = Rect(), Style style = Style::Plain);
    ~TableView() override;

    Style style() const { return m_style; }

    void setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
        m_dataSource = std::move(dataSource);
    }
    std::shared_ptr<TableViewDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDelegate(std::weak_ptr<TableViewDelegate> delegate) { m_delegate = std::move(delegate); }
    std::shared_ptr<TableViewDelegate> delegate() const { return m_delegate.lock(); }

    // Heights used where the delegate gives none. A section header or footer of a plain table
    // takes its height only when it has a title or a view; a grouped table's header with a
    // title is at least 36 points high (46 for the first section).
    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);
    double sectionHeaderHeight() const { return m_sectionHeaderHeight; }
    void setSectionHeaderHeight(double height);
    double sectionFooterHeight() const { return m_sectionFooterHeight; }
    void setSectionFooterHeight(double height);

    SeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(SeparatorStyle style);
    const Color& separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const Color& color);

    // Views above the first section and below the last one, as wide as the table; they keep the
    // height they are given.
    const std::shared_ptr<View>& tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& tableFooterView() const { return m_tableFooterView; }
    void setTableFooterView(std::shared_ptr<View> view);

    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsSelectionDuringEditing() const { return m_allowsSelectionDuringEditing; }
    void setAllowsSelectionDuringEditing(bool allows) { m_allowsSelectionDuringEditing = allows; }

    // Editing mode: rows the data source lets edit show the control of their editing style; a
    // tap on a red control asks for confirmation with a "Delete" button, a tap on that button or
    // on a green control is passed to the data source's commitEditingStyle.
    bool editing() const { return m_editing; }
    void setEditing(bool editing, bool animated = false);

    // Reads everything again from the data source and the delegate; clears the selection.
    void reloadData();
    // Makes the rows again; a reloaded row loses its selection.
    void reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    // The data source has the rows already (inserted at their new index paths, deleted from
    // their old ones); the rows after them move, animated unless `animation` is None.
    void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation);
    void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation);

    int numberOfSections() const;
    int numberOfRowsInSection(int section) const;

    // Rows that exist now (the ones on screen); none for a row off screen.
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    std::vector<std::shared_ptr<TableViewCell>> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::optional<IndexPath> indexPathForCell(const TableViewCell& cell) const;
    // The row under the point (in the table's content coordinates), whatever the side margins.
    std::optional<IndexPath> indexPathForRowAtPoint(Point point) const;
    // The header or footer view of a section on screen.
    std::shared_ptr<View> headerViewForSection(int section) const;
    std::shared_ptr<View> footerViewForSection(int section) const;

    // In content coordinates. A grouped row's rectangle is its group slice, 10 points in from
    // either side; a section's rectangle spans its header, rows and footer.
    Rect rectForRowAtIndexPath(const IndexPath& indexPath) const;
    Rect rectForSection(int section) const;
    Rect rectForHeaderInSection(int section) const;
    Rect rectForFooterInSection(int section) const;

    std::optional<IndexPath> indexPathForSelectedRow() const { return m_selectedRow; }
    // Selects the row (none deselects), scrolling it to the position; None does not scroll.
    void selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                              ScrollPosition position);
    // Animated, the selection fades out over 0.3 seconds.
    void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);
    // Brings the row to the top, middle or bottom of the view, as far as the content allows;
    // None scrolls as little as needed to show it. In a plain table the top is just below the
    // section's header.
    void scrollToRowAtIndexPath(const IndexPath& indexPath, ScrollPosition position, bool animated);
    // This table draws no scroll indicators; kept for the screens that ask.
    void flashScrollIndicators() {}

    // A row that scrolled away or was reloaded, reset for reuse; none when there is none.
    std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const QString& identifier);
    // Rows waiting for reuse.
    std::size_t reusableCellCount() const;
    // Rows the data source made since the table was created (for tests of reuse).
    std::size_t cellsRequested() const { return m_cellsRequested; }

protected:
    AccessibilityDescription describeAccessibility() const override;
    void layoutSubviews() override;
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    class ScrollForwarder;
    friend class ScrollForwarder;

    struct SectionGeometry {
        double headerTop = 0.0;
        double headerHeight = 0.0;
        std::vector<double> rowTops;
        std::vector<double> rowHeights;
        double footerTop = 0.0;
        double footerHeight = 0.0;
        QString headerTitle;
        QString footerTitle;
        bool hasHeaderView = false;
        bool hasFooterView = false;
        double bottom() const { return footerTop + footerHeight; }
    };

    void computeGeometry();
    double headerHeightForSection(int section, const QString& title, bool hasView) const;
    double footerHeightForSection(int section, const QString& title, bool hasView) const;
    // Puts the rows, headers and footers on screen where they belong and recycles the rest.
    void layoutTableContent(bool animated = false);
    void layoutSectionViews(double top, double bottom);
    std::shared_ptr<View> makeSectionView(int section, bool header);
    void recycle(const std::shared_ptr<TableViewCell>& cell);
    std::shared_ptr<TableViewCell> makeCell(const IndexPath& indexPath);
    void configureCell(TableViewCell& cell, const IndexPath& indexPath);
    Rect cellFrame(const IndexPath& indexPath) const;
    bool isValid(const IndexPath& indexPath) const;
    void fadeOutAndRecycle(const std::shared_ptr<TableViewCell>& cell);
    void ensureLoaded();

    // Touch tracking and the user's choice of a row.
    bool selectionAllowedNow() const;
    void cancelTracking();
    void highlightTrackedRow();
    void userSelectRow(const IndexPath& indexPath);
    void hideDeleteConfirmation();
    void editingControlTapped(TableViewCell& cell);
    void deleteConfirmed(TableViewCell& cell);
    void accessoryButtonTapped(TableViewCell& cell);

    Style m_style;
    std::weak_ptr<TableViewDataSource> m_dataSource;
    std::weak_ptr<TableViewDelegate> m_delegate;
    std::shared_ptr<ScrollForwarder> m_forwarder;
    double m_rowHeight = defaultRowHeight;
    double m_sectionHeaderHeight;
    double m_sectionFooterHeight;
    SeparatorStyle m_separatorStyle = SeparatorStyle::SingleLine;
    Color m_separatorColor;
    // One line of the grouped background's stripes, stretched down the view when drawn: one
    // fill instead of one for each stripe.
    Image m_stripesLine;
    std::shared_ptr<View> m_tableHeaderView;
    std::shared_ptr<View> m_tableFooterView;
    bool m_allowsSelection = true;
    bool m_allowsSelectionDuringEditing = false;
    bool m_editing = false;

    bool m_loaded = false;
    std::vector<SectionGeometry> m_sections;
    double m_contentHeight = 0.0;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> m_visibleCells;
    std::map<int, std::shared_ptr<View>> m_headerViews;
    std::map<int, std::shared_ptr<View>> m_footerViews;
    std::map<QString, std::vector<std::shared_ptr<TableViewCell>>> m_reusableCells;
    std::size_t m_cellsRequested = 0;
    bool m_inLayout = false;

    std::optional<IndexPath> m_selectedRow;
    std::optional<IndexPath> m_trackedRow;
    std::shared_ptr<Timer> m_highlightTimer;
    bool m_touchSwallowed = false;
    std::optional<IndexPath> m_confirmingRow;
};
