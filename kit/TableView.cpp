#include "kit/TableView.h"

#include "foundation/RunLoop.h"
#include "kit/GraphicsContext.h"
#include "kit/Screen.h"
#include "kit/TableViewSectionHeaderView.h"

#include <algorithm>
#include <cmath>
#include <set>

// Follows the scrolling to put the rows on screen, then passes the report on to the table's
// delegate. Owned by the table, so the raw link back is safe.
class TableView::ScrollForwarder : public ScrollViewDelegate {
public:
    explicit ScrollForwarder(TableView& table) : m_table(table) {}

    void scrollViewDidScroll(ScrollView& scrollView) override {
        m_table.layoutTableContent();
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewDidScroll(scrollView);
        }
    }
    void scrollViewWillBeginDragging(ScrollView& scrollView) override {
        m_table.cancelTracking();
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewWillBeginDragging(scrollView);
        }
    }
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override {
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewDidEndDragging(scrollView, willDecelerate);
        }
    }
    void scrollViewWillBeginDecelerating(ScrollView& scrollView) override {
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewWillBeginDecelerating(scrollView);
        }
    }
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override {
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewDidEndDecelerating(scrollView);
        }
    }
    void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) override {
        if (const auto owner = m_table.delegate()) {
            owner->scrollViewDidEndScrollingAnimation(scrollView);
        }
    }

private:
    TableView& m_table;
};

TableView::TableView(const Rect& frame, Style style)
    : ScrollView(frame), m_style(style), m_forwarder(std::make_shared<ScrollForwarder>(*this)),
      m_sectionHeaderHeight(style == Style::Plain ? TableViewSectionHeaderView::plainHeight : 10.0),
      m_sectionFooterHeight(style == Style::Plain ? TableViewSectionHeaderView::plainHeight : 10.0),
      m_separatorColor(style == Style::Plain ? Color::fromRgb255(224, 224, 224)
                                             : TableViewCellBackgroundView::groupBorderColor()) {
    ScrollView::setDelegate(m_forwarder);
    setAlwaysBounceVertical(true);
    // The rows are read at the first layout, once the owner had the chance to set the data
    // source.
    setNeedsLayout();
    if (style == Style::Plain) {
        setBackgroundColor(Color(1, 1, 1));
    }
}

TableView::~TableView() {
    if (m_highlightTimer) {
        m_highlightTimer->invalidate();
    }
}

void TableView::setRowHeight(double height) {
    m_rowHeight = height;
    if (m_loaded) {
        computeGeometry();
        layoutTableContent();
    }
}

void TableView::setSectionHeaderHeight(double height) {
    m_sectionHeaderHeight = height;
    if (m_loaded) {
        computeGeometry();
        layoutTableContent();
    }
}

void TableView::setSectionFooterHeight(double height) {
    m_sectionFooterHeight = height;
    if (m_loaded) {
        computeGeometry();
        layoutTableContent();
    }
}

void TableView::setSeparatorStyle(SeparatorStyle style) {
    m_separatorStyle = style;
    setNeedsDisplay();
    layoutTableContent();
}

void TableView::setSeparatorColor(const Color& color) {
    m_separatorColor = color;
    setNeedsDisplay();
    layoutTableContent();
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
    if (m_tableHeaderView) {
        m_tableHeaderView->removeFromSuperview();
    }
    m_tableHeaderView = std::move(view);
    if (m_tableHeaderView) {
        addSubview(m_tableHeaderView);
    }
    if (m_loaded) {
        computeGeometry();
        layoutTableContent();
    }
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
    if (m_tableFooterView) {
        m_tableFooterView->removeFromSuperview();
    }
    m_tableFooterView = std::move(view);
    if (m_tableFooterView) {
        addSubview(m_tableFooterView);
    }
    if (m_loaded) {
        computeGeometry();
        layoutTableContent();
    }
}

void TableView::setEditing(bool editing, bool animated) {
    hideDeleteConfirmation();
    if (editing == m_editing) {
        return;
    }
    m_editing = editing;
    cancelTracking();
    for (const auto& [indexPath, cell] : m_visibleCells) {
        configureCell(*cell, indexPath);
        cell->setEditing(editing, animated);
    }
}

// Data and geometry.

void TableView::ensureLoaded() {
    if (!m_loaded) {
        reloadData();
    }
}

double TableView::headerHeightForSection(int section, const QString& title, bool hasView) const {
    if (const auto owner = delegate()) {
        if (const std::optional<double> height =
                owner->heightForHeaderInSection(const_cast<TableView&>(*this), section)) {
            return std::max(0.0, *height);
        }
    }
    if (m_style == Style::Plain) {
        return (hasView || !title.isEmpty()) ? m_sectionHeaderHeight : 0.0;
    }
    if (!title.isEmpty()) {
        return std::max(m_sectionHeaderHeight, 36.0) + (section == 0 ? 10.0 : 0.0);
    }
    return m_sectionHeaderHeight;
}

double TableView::footerHeightForSection(int section, const QString& title, bool hasView) const {
    if (const auto owner = delegate()) {
        if (const std::optional<double> height =
                owner->heightForFooterInSection(const_cast<TableView&>(*this), section)) {
            return std::max(0.0, *height);
        }
    }
    if (m_style == Style::Plain) {
        return (hasView || !title.isEmpty()) ? m_sectionFooterHeight : 0.0;
    }
    if (!title.isEmpty()) {
        return std::max(m_sectionFooterHeight,
                        TableViewSectionHeaderView::groupedFooterHeight(title, bounds().width()));
    }
    return m_sectionFooterHeight;
}

void TableView::computeGeometry() {
    m_sections.clear();
    const auto source = dataSource();
    const auto owner = delegate();
    double y = m_tableHeaderView ? m_tableHeaderView->frame().height() : 0.0;
    const int sections = source ? std::max(0, source->numberOfSectionsInTableView(*this)) : 0;
    for (int section = 0; section < sections; ++section) {
        SectionGeometry geometry;
        geometry.headerTitle = source->titleForHeaderInSection(*this, section);
        geometry.footerTitle = source->titleForFooterInSection(*this, section);
        geometry.hasHeaderView = owner && owner->viewForHeaderInSection(*this, section) != nullptr;
        geometry.hasFooterView = owner && owner->viewForFooterInSection(*this, section) != nullptr;
        geometry.headerTop = y;
        geometry.headerHeight = headerHeightForSection(section, geometry.headerTitle, geometry.hasHeaderView);
        y += geometry.headerHeight;
        const int rows = std::max(0, source->numberOfRowsInSection(*this, section));
        for (int row = 0; row < rows; ++row) {
            double height = m_rowHeight;
            if (owner) {
                if (const std::optional<double> answer =
                        owner->heightForRowAtIndexPath(*this, IndexPath(row, section))) {
                    height = std::max(0.0, *answer);
                }
            }
            geometry.rowTops.push_back(y);
            geometry.rowHeights.push_back(height);
            y += height;
        }
        geometry.footerTop = y;
        geometry.footerHeight = footerHeightForSection(section, geometry.footerTitle, geometry.hasFooterView);
        y += geometry.footerHeight;
        m_sections.push_back(std::move(geometry));
    }
    if (m_tableFooterView) {
        y += m_tableFooterView->frame().height();
    }
    m_contentHeight = y;
    setContentSize({bounds().width(), m_contentHeight});
}

int TableView::numberOfSections() const {
    return static_cast<int>(m_sections.size());
}

int TableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return 0;
    }
    return static_cast<int>(m_sections[static_cast<std::size_t>(section)].rowTops.size());
}

bool TableView::isValid(const IndexPath& indexPath) const {
    return indexPath.row() >= 0 && indexPath.row() < numberOfRowsInSection(indexPath.section());
}

Rect TableView::cellFrame(const IndexPath& indexPath) const {
    const SectionGeometry& geometry = m_sections[static_cast<std::size_t>(indexPath.section())];
    const auto row = static_cast<std::size_t>(indexPath.row());
    const double width = bounds().width();
    if (m_style == Style::Grouped) {
        return {groupedSideMargin, geometry.rowTops[row], std::max(0.0, width - 2 * groupedSideMargin),
                geometry.rowHeights[row]};
    }
    return {0, geometry.rowTops[row], width, geometry.rowHeights[row]};
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const {
    const_cast<TableView*>(this)->ensureLoaded();
    if (!isValid(indexPath)) {
        return {};
    }
    return cellFrame(indexPath);
}

Rect TableView::rectForSection(int section) const {
    const_cast<TableView*>(this)->ensureLoaded();
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    const SectionGeometry& geometry = m_sections[static_cast<std::size_t>(section)];
    return {0, geometry.headerTop, bounds().width(), geometry.bottom() - geometry.headerTop};
}

Rect TableView::rectForHeaderInSection(int section) const {
    const_cast<TableView*>(this)->ensureLoaded();
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    const SectionGeometry& geometry = m_sections[static_cast<std::size_t>(section)];
    return {0, geometry.headerTop, bounds().width(), geometry.headerHeight};
}

Rect TableView::rectForFooterInSection(int section) const {
    const_cast<TableView*>(this)->ensureLoaded();
    if (section < 0 || section >= numberOfSections()) {
        return {};
    }
    const SectionGeometry& geometry = m_sections[static_cast<std::size_t>(section)];
    return {0, geometry.footerTop, bounds().width(), geometry.footerHeight};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) const {
    for (std::size_t section = 0; section < m_sections.size(); ++section) {
        const SectionGeometry& geometry = m_sections[section];
        if (point.y() < geometry.headerTop || point.y() >= geometry.bottom()) {
            continue;
        }
        for (std::size_t row = 0; row < geometry.rowTops.size(); ++row) {
            if (point.y() >= geometry.rowTops[row] &&
                point.y() < geometry.rowTops[row] + geometry.rowHeights[row]) {
                return IndexPath(static_cast<int>(row), static_cast<int>(section));
            }
        }
    }
    return std::nullopt;
}

// Rows on screen.

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    const auto found = m_visibleCells.find(indexPath);
    return found == m_visibleCells.end() ? nullptr : found->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    std::vector<std::shared_ptr<TableViewCell>> cells;
    for (const auto& entry : m_visibleCells) {
        cells.push_back(entry.second);
    }
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> paths;
    for (const auto& entry : m_visibleCells) {
        paths.push_back(entry.first);
    }
    return paths;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    for (const auto& [indexPath, shown] : m_visibleCells) {
        if (shown.get() == &cell) {
            return indexPath;
        }
    }
    return std::nullopt;
}

std::shared_ptr<View> TableView::headerViewForSection(int section) const {
    const auto found = m_headerViews.find(section);
    return found == m_headerViews.end() ? nullptr : found->second;
}

std::shared_ptr<View> TableView::footerViewForSection(int section) const {
    const auto found = m_footerViews.find(section);
    return found == m_footerViews.end() ? nullptr : found->second;
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const QString& identifier) {
    const auto found = m_reusableCells.find(identifier);
    if (found == m_reusableCells.end() || found->second.empty()) {
        return nullptr;
    }
    std::shared_ptr<TableViewCell> cell = found->second.back();
    found->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

std::size_t TableView::reusableCellCount() const {
    std::size_t count = 0;
    for (const auto& entry : m_reusableCells) {
        count += entry.second.size();
    }
    return count;
}

void TableView::recycle(const std::shared_ptr<TableViewCell>& cell) {
    cell->removeFromSuperview();
    cell->setHighlighted(false);
    if (!cell->reuseIdentifier().isEmpty()) {
        m_reusableCells[cell->reuseIdentifier()].push_back(cell);
    }
}

void TableView::fadeOutAndRecycle(const std::shared_ptr<TableViewCell>& cell) {
    const std::weak_ptr<View> weakSelf = weak_from_this();
    View::animate(
        rowAnimationDuration, [cell] { cell->setAlpha(0.0); },
        [weakSelf, cell](bool /*finished*/) {
            cell->removeFromSuperview();
            cell->setAlpha(1.0);
            if (const auto self = std::static_pointer_cast<TableView>(weakSelf.lock())) {
                if (!self->indexPathForCell(*cell)) {
                    self->recycle(cell);
                }
            }
        });
}

void TableView::configureCell(TableViewCell& cell, const IndexPath& indexPath) {
    using Position = TableViewCellBackgroundView::Position;
    const int rows = numberOfRowsInSection(indexPath.section());
    Position position = Position::Middle;
    if (rows == 1) {
        position = Position::Single;
    } else if (indexPath.row() == 0) {
        position = Position::Top;
    } else if (indexPath.row() == rows - 1) {
        position = Position::Bottom;
    }
    TableViewCell::EditingStyle editingStyle = TableViewCell::EditingStyle::None;
    bool indent = true;
    const auto source = dataSource();
    const auto owner = delegate();
    if (source && source->canEditRowAtIndexPath(*this, indexPath)) {
        editingStyle = owner ? owner->editingStyleForRowAtIndexPath(*this, indexPath)
                             : TableViewCell::EditingStyle::Delete;
    }
    if (owner) {
        indent = owner->shouldIndentWhileEditingRowAtIndexPath(*this, indexPath);
    }
    cell.configureForTable(m_style == Style::Grouped, position,
                           m_separatorStyle == SeparatorStyle::SingleLine, m_separatorColor, editingStyle);
    cell.setShouldIndentWhileEditing(indent);
    const std::weak_ptr<View> weakSelf = weak_from_this();
    const auto forTable = [weakSelf](void (TableView::*action)(TableViewCell&)) {
        return [weakSelf, action](TableViewCell& tapped) {
            if (const auto self = std::static_pointer_cast<TableView>(weakSelf.lock())) {
                (self.get()->*action)(tapped);
            }
        };
    };
    cell.m_onEditingControlTapped = forTable(&TableView::editingControlTapped);
    cell.m_onDeleteConfirmed = forTable(&TableView::deleteConfirmed);
    cell.m_onAccessoryButtonTapped = forTable(&TableView::accessoryButtonTapped);
}

std::shared_ptr<TableViewCell> TableView::makeCell(const IndexPath& indexPath) {
    const auto source = dataSource();
    std::shared_ptr<TableViewCell> cell = source ? source->cellForRowAtIndexPath(*this, indexPath) : nullptr;
    if (!cell) {
        cell = std::make_shared<TableViewCell>();
    }
    ++m_cellsRequested;
    configureCell(*cell, indexPath);
    if (cell->editing() != m_editing) {
        cell->setEditing(m_editing, false);
    }
    const bool selected = m_selectedRow == indexPath;
    if (cell->selected() != selected) {
        cell->setSelected(selected, false);
    }
    cell->setFrame(cellFrame(indexPath));
    insertSubview(cell, 0);
    if (const auto owner = delegate()) {
        owner->willDisplayCell(*this, *cell, indexPath);
    }
    cell->layoutIfNeeded();
    return cell;
}

void TableView::layoutTableContent(bool animated) {
    if (!m_loaded || m_inLayout) {
        return;
    }
    m_inLayout = true;
    const Rect visible = bounds();
    const double width = visible.width();
    const double top = visible.minY();
    const double bottom = visible.maxY();
    if (contentSize().width() != width) {
        setContentSize({width, m_contentHeight});
    }
    if (m_tableHeaderView) {
        m_tableHeaderView->setFrame({0, 0, width, m_tableHeaderView->frame().height()});
    }
    if (m_tableFooterView) {
        const double height = m_tableFooterView->frame().height();
        m_tableFooterView->setFrame({0, m_contentHeight - height, width, height});
    }

    std::set<IndexPath> wanted;
    for (std::size_t section = 0; section < m_sections.size(); ++section) {
        const SectionGeometry& geometry = m_sections[section];
        if (geometry.bottom() <= top || geometry.headerTop >= bottom) {
            continue;
        }
        for (std::size_t row = 0; row < geometry.rowTops.size(); ++row) {
            const double rowTop = geometry.rowTops[row];
            if (rowTop + geometry.rowHeights[row] > top && rowTop < bottom && geometry.rowHeights[row] > 0) {
                wanted.insert(IndexPath(static_cast<int>(row), static_cast<int>(section)));
            }
        }
    }
    for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
        if (!wanted.contains(it->first)) {
            recycle(it->second);
            it = m_visibleCells.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<std::pair<std::shared_ptr<TableViewCell>, Rect>> moves;
    for (const IndexPath& indexPath : wanted) {
        const auto found = m_visibleCells.find(indexPath);
        if (found == m_visibleCells.end()) {
            const std::shared_ptr<TableViewCell> cell = makeCell(indexPath);
            m_visibleCells[indexPath] = cell;
            if (animated) {
                cell->setAlpha(0.0);
                View::animate(rowAnimationDuration, [cell] { cell->setAlpha(1.0); });
            }
        } else {
            configureCell(*found->second, indexPath);
            moves.emplace_back(found->second, cellFrame(indexPath));
        }
    }
    const auto applyMoves = [&moves] {
        for (const auto& [cell, frame] : moves) {
            if (cell->frame() != frame) {
                cell->setFrame(frame);
            }
        }
    };
    if (animated) {
        View::animate(rowAnimationDuration, applyMoves);
    } else {
        applyMoves();
    }
    layoutSectionViews(top, bottom);
    m_inLayout = false;
}

std::shared_ptr<View> TableView::makeSectionView(int section, bool header) {
    if (const auto owner = delegate()) {
        std::shared_ptr<View> view = header ? owner->viewForHeaderInSection(*this, section)
                                            : owner->viewForFooterInSection(*this, section);
        if (view) {
            return view;
        }
    }
    const SectionGeometry& geometry = m_sections[static_cast<std::size_t>(section)];
    const QString& title = header ? geometry.headerTitle : geometry.footerTitle;
    if (title.isEmpty()) {
        return nullptr;
    }
    using Kind = TableViewSectionHeaderView::Kind;
    const Kind kind = m_style == Style::Plain ? (header ? Kind::PlainHeader : Kind::PlainFooter)
                                              : (header ? Kind::GroupedHeader : Kind::GroupedFooter);
    auto view = std::make_shared<TableViewSectionHeaderView>(kind, title);
    view->setUserInteractionEnabled(false);
    return view;
}

void TableView::layoutSectionViews(double top, double bottom) {
    const double width = bounds().width();
    for (int pass = 0; pass < 2; ++pass) {
        const bool header = pass == 0;
        auto& views = header ? m_headerViews : m_footerViews;
        std::map<int, std::shared_ptr<View>> kept;
        for (std::size_t index = 0; index < m_sections.size(); ++index) {
            const int section = static_cast<int>(index);
            const SectionGeometry& geometry = m_sections[index];
            Rect frame = header ? Rect(0, geometry.headerTop, width, geometry.headerHeight)
                                : Rect(0, geometry.footerTop, width, geometry.footerHeight);
            if (header && m_style == Style::Plain) {
                // The header stays at the top while its section's rows pass beneath it, and is
                // pushed up by the end of the section.
                const double pinned =
                    std::min(std::max(geometry.headerTop, top), geometry.footerTop - geometry.headerHeight);
                frame.setOrigin({0, std::max(geometry.headerTop, pinned)});
            }
            if (frame.height() <= 0 || frame.maxY() <= top || frame.minY() >= bottom) {
                continue;
            }
            std::shared_ptr<View> view;
            if (const auto found = views.find(section); found != views.end()) {
                view = found->second;
                views.erase(found);
            } else {
                view = makeSectionView(section, header);
            }
            if (!view) {
                continue;
            }
            view->setFrame(frame);
            if (view->superview().get() != this) {
                addSubview(view);
            } else if (header && m_style == Style::Plain) {
                bringSubviewToFront(*view);
            }
            kept[section] = view;
        }
        for (const auto& entry : views) {
            entry.second->removeFromSuperview();
        }
        views = std::move(kept);
    }
}

void TableView::reloadData() {
    m_loaded = true;
    hideDeleteConfirmation();
    cancelTracking();
    m_selectedRow.reset();
    for (const auto& entry : m_visibleCells) {
        recycle(entry.second);
    }
    m_visibleCells.clear();
    for (auto* views : {&m_headerViews, &m_footerViews}) {
        for (const auto& entry : *views) {
            entry.second->removeFromSuperview();
        }
        views->clear();
    }
    computeGeometry();
    const double maximum = std::max(0.0, m_contentHeight - bounds().height());
    if (contentOffset().y() > maximum && !isDragging()) {
        setContentOffset({contentOffset().x(), maximum});
    }
    layoutTableContent();
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    ensureLoaded();
    computeGeometry();
    const bool animated = animation != RowAnimation::None;
    for (const IndexPath& indexPath : indexPaths) {
        if (m_selectedRow == indexPath) {
            m_selectedRow.reset();
        }
        const auto found = m_visibleCells.find(indexPath);
        if (found == m_visibleCells.end()) {
            continue;
        }
        const std::shared_ptr<TableViewCell> old = found->second;
        m_visibleCells.erase(found);
        if (animated) {
            // The old row fades out over the new one, which the layout below fades in.
            bringSubviewToFront(*old);
            fadeOutAndRecycle(old);
        } else {
            recycle(old);
        }
    }
    layoutTableContent();
    if (animated) {
        for (const IndexPath& indexPath : indexPaths) {
            if (const auto cell = cellForRowAtIndexPath(indexPath)) {
                cell->setAlpha(0.0);
                View::animate(rowAnimationDuration, [cell] { cell->setAlpha(1.0); });
            }
        }
    }
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    ensureLoaded();
    hideDeleteConfirmation();
    cancelTracking();
    std::vector<IndexPath> sorted = indexPaths;
    std::sort(sorted.begin(), sorted.end());
    const auto shifted = [&sorted](IndexPath path) {
        for (const IndexPath& inserted : sorted) {
            if (inserted.section() == path.section() && inserted.row() <= path.row()) {
                path = IndexPath(path.row() + 1, path.section());
            }
        }
        return path;
    };
    std::map<IndexPath, std::shared_ptr<TableViewCell>> moved;
    for (const auto& [indexPath, cell] : m_visibleCells) {
        moved[shifted(indexPath)] = cell;
    }
    m_visibleCells = std::move(moved);
    if (m_selectedRow) {
        m_selectedRow = shifted(*m_selectedRow);
    }
    computeGeometry();
    layoutTableContent(animation != RowAnimation::None);
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, RowAnimation animation) {
    ensureLoaded();
    hideDeleteConfirmation();
    cancelTracking();
    const std::set<IndexPath> deleted(indexPaths.begin(), indexPaths.end());
    const auto shifted = [&deleted](const IndexPath& path) {
        int row = path.row();
        for (const IndexPath& gone : deleted) {
            if (gone.section() == path.section() && gone.row() < path.row()) {
                --row;
            }
        }
        return IndexPath(row, path.section());
    };
    const bool animated = animation != RowAnimation::None;
    std::map<IndexPath, std::shared_ptr<TableViewCell>> moved;
    for (const auto& [indexPath, cell] : m_visibleCells) {
        if (deleted.contains(indexPath)) {
            if (animated) {
                fadeOutAndRecycle(cell);
            } else {
                recycle(cell);
            }
        } else {
            moved[shifted(indexPath)] = cell;
        }
    }
    m_visibleCells = std::move(moved);
    if (m_selectedRow) {
        if (deleted.contains(*m_selectedRow)) {
            m_selectedRow.reset();
        } else {
            m_selectedRow = shifted(*m_selectedRow);
        }
    }
    computeGeometry();
    layoutTableContent(animated);
}

// Layout and drawing.

void TableView::layoutSubviews() {
    if (!m_loaded) {
        reloadData();
        return;
    }
    computeGeometry();
    layoutTableContent();
}

void TableView::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    if (m_style == Style::Grouped) {
        if (!backgroundColor()) {
            // Thin lighter stripes, fixed to the view rather than to the content.
            const Size line(area.width(), 1.0);
            if (m_stripesLine.isNull() || m_stripesLine.size() != line) {
                m_stripesLine =
                    Image::draw(line, Screen::main().scale(), [line](GraphicsContext& lineContext) {
                        lineContext.setFillColor(Color::fromRgb255(197, 204, 212));
                        lineContext.fillRect(Rect(Point(0, 0), line));
                        lineContext.setFillColor(Color::fromRgb255(203, 210, 217));
                        for (double x = 0; x < line.width(); x += 7.0) {
                            lineContext.fillRect({x, 0.0, 3.0, 1.0});
                        }
                    });
            }
            context.drawImage(m_stripesLine, area);
        }
        return;
    }
    if (m_separatorStyle != SeparatorStyle::SingleLine || m_rowHeight <= 0) {
        return;
    }
    // A plain table lines the empty space below its last row as if more rows were there.
    const double pixel = 1.0 / Screen::main().scale();
    context.setFillColor(m_separatorColor);
    const double start = m_contentHeight - (m_tableFooterView ? m_tableFooterView->frame().height() : 0.0);
    for (double y = std::max(start, 0.0) + m_rowHeight; y - m_rowHeight < area.maxY(); y += m_rowHeight) {
        if (y >= area.minY()) {
            context.fillRect({area.minX(), y - pixel, area.width(), pixel});
        }
    }
}

// Selection.

void TableView::selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated,
                                     ScrollPosition position) {
    ensureLoaded();
    if (m_selectedRow && m_selectedRow != indexPath) {
        if (const auto cell = cellForRowAtIndexPath(*m_selectedRow)) {
            cell->setSelected(false, false);
        }
    }
    if (!indexPath || !isValid(*indexPath)) {
        m_selectedRow.reset();
        return;
    }
    m_selectedRow = indexPath;
    if (position != ScrollPosition::None) {
        scrollToRowAtIndexPath(*indexPath, position, animated);
    }
    if (const auto cell = cellForRowAtIndexPath(*indexPath)) {
        cell->setSelected(true, animated);
    }
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool animated) {
    if (m_selectedRow == indexPath) {
        m_selectedRow.reset();
    }
    if (const auto cell = cellForRowAtIndexPath(indexPath)) {
        cell->setSelected(false, animated);
    }
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, ScrollPosition position, bool animated) {
    ensureLoaded();
    if (!isValid(indexPath)) {
        return;
    }
    const Rect row = cellFrame(indexPath);
    const double height = bounds().height();
    const double covered = m_style == Style::Plain
                               ? m_sections[static_cast<std::size_t>(indexPath.section())].headerHeight
                               : 0.0;
    const double offset = contentOffset().y();
    if (position == ScrollPosition::None) {
        if (row.minY() - covered < offset) {
            position = ScrollPosition::Top;
        } else if (row.maxY() > offset + height) {
            position = ScrollPosition::Bottom;
        } else {
            return;
        }
    }
    double y = offset;
    switch (position) {
    case ScrollPosition::Top:
        y = row.minY() - covered;
        break;
    case ScrollPosition::Middle:
        y = row.midY() - height / 2;
        break;
    case ScrollPosition::Bottom:
        y = row.maxY() - height;
        break;
    case ScrollPosition::None:
        break;
    }
    const double minimum = minimumContentOffset().y();
    const double maximum = std::max(minimum, maximumContentOffset().y());
    setContentOffset({contentOffset().x(), std::clamp(y, minimum, maximum)}, animated);
}

// Touches.

bool TableView::selectionAllowedNow() const {
    return m_editing ? m_allowsSelectionDuringEditing : m_allowsSelection;
}

void TableView::cancelTracking() {
    if (m_highlightTimer) {
        m_highlightTimer->invalidate();
        m_highlightTimer.reset();
    }
    if (m_trackedRow) {
        if (const auto cell = cellForRowAtIndexPath(*m_trackedRow)) {
            cell->setHighlighted(false);
        }
        m_trackedRow.reset();
    }
}

void TableView::highlightTrackedRow() {
    if (m_highlightTimer) {
        m_highlightTimer->invalidate();
        m_highlightTimer.reset();
    }
    if (!m_trackedRow) {
        return;
    }
    if (const auto cell = cellForRowAtIndexPath(*m_trackedRow)) {
        cell->setHighlighted(true);
    }
}

void TableView::touchesBegan(const TouchSet& touches, const TouchEvent& /*event*/) {
    cancelTracking();
    m_touchSwallowed = false;
    if (touches.empty()) {
        return;
    }
    if (m_confirmingRow) {
        // A touch anywhere else only takes the confirmation away.
        hideDeleteConfirmation();
        m_touchSwallowed = true;
        return;
    }
    if (!selectionAllowedNow()) {
        return;
    }
    const Point point = touches.front()->locationInView(this);
    // A header pinned over the rows takes the touch from the row beneath it.
    for (const auto* views : {&m_headerViews, &m_footerViews}) {
        for (const auto& entry : *views) {
            if (entry.second->frame().contains(point)) {
                return;
            }
        }
    }
    const std::optional<IndexPath> indexPath = indexPathForRowAtPoint(point);
    if (!indexPath) {
        return;
    }
    const auto cell = cellForRowAtIndexPath(*indexPath);
    if (!cell || !cell->frame().contains(point)) {
        return;
    }
    m_trackedRow = indexPath;
    const std::weak_ptr<View> weakSelf = weak_from_this();
    m_highlightTimer = RunLoop::main().scheduleTimer(highlightDelay, false, [weakSelf] {
        if (const auto self = std::static_pointer_cast<TableView>(weakSelf.lock())) {
            self->highlightTrackedRow();
        }
    });
}

void TableView::touchesMoved(const TouchSet& touches, const TouchEvent& /*event*/) {
    if (!m_trackedRow || touches.empty()) {
        return;
    }
    const auto cell = cellForRowAtIndexPath(*m_trackedRow);
    if (!cell || !cell->frame().contains(touches.front()->locationInView(this))) {
        cancelTracking();
    }
}

void TableView::touchesEnded(const TouchSet& touches, const TouchEvent& /*event*/) {
    if (!m_trackedRow || touches.empty()) {
        cancelTracking();
        return;
    }
    const IndexPath tapped = *m_trackedRow;
    const auto cell = cellForRowAtIndexPath(tapped);
    if (!cell || !cell->frame().contains(touches.front()->locationInView(this))) {
        cancelTracking();
        return;
    }
    highlightTrackedRow();
    m_trackedRow.reset();
    userSelectRow(tapped);
    if (const auto shown = cellForRowAtIndexPath(tapped)) {
        shown->setHighlighted(false);
    }
}

void TableView::touchesCancelled(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    cancelTracking();
}

void TableView::userSelectRow(const IndexPath& indexPath) {
    std::optional<IndexPath> target = indexPath;
    if (const auto owner = delegate()) {
        target = owner->willSelectRowAtIndexPath(*this, indexPath);
    }
    if (!target || !isValid(*target)) {
        return;
    }
    if (m_selectedRow && *m_selectedRow != *target) {
        const IndexPath previous = *m_selectedRow;
        deselectRowAtIndexPath(previous, false);
        if (const auto owner = delegate()) {
            owner->didDeselectRowAtIndexPath(*this, previous);
        }
    }
    m_selectedRow = target;
    if (const auto cell = cellForRowAtIndexPath(*target)) {
        cell->setSelected(true, false);
    }
    if (const auto owner = delegate()) {
        owner->didSelectRowAtIndexPath(*this, *target);
    }
}

// Editing controls.

void TableView::hideDeleteConfirmation() {
    if (!m_confirmingRow) {
        return;
    }
    if (const auto cell = cellForRowAtIndexPath(*m_confirmingRow)) {
        cell->setShowingDeleteConfirmation(false, true);
    }
    m_confirmingRow.reset();
}

void TableView::editingControlTapped(TableViewCell& cell) {
    const std::optional<IndexPath> indexPath = indexPathForCell(cell);
    if (!indexPath) {
        return;
    }
    if (cell.editingStyle() == TableViewCell::EditingStyle::Insert) {
        hideDeleteConfirmation();
        if (const auto source = dataSource()) {
            source->commitEditingStyle(*this, TableViewCell::EditingStyle::Insert, *indexPath);
        }
        return;
    }
    if (m_confirmingRow == indexPath) {
        hideDeleteConfirmation();
        return;
    }
    hideDeleteConfirmation();
    m_confirmingRow = indexPath;
    cell.setShowingDeleteConfirmation(true, true);
}

void TableView::deleteConfirmed(TableViewCell& cell) {
    const std::optional<IndexPath> indexPath = indexPathForCell(cell);
    if (!indexPath) {
        return;
    }
    m_confirmingRow.reset();
    if (const auto source = dataSource()) {
        source->commitEditingStyle(*this, TableViewCell::EditingStyle::Delete, *indexPath);
    }
    if (const auto shown = cellForRowAtIndexPath(*indexPath); shown && shown.get() == &cell) {
        // The data source kept the row.
        cell.setShowingDeleteConfirmation(false, true);
    }
}

void TableView::accessoryButtonTapped(TableViewCell& cell) {
    if (const std::optional<IndexPath> indexPath = indexPathForCell(cell)) {
        if (const auto owner = delegate()) {
            owner->accessoryButtonTappedForRowWithIndexPath(*this, *indexPath);
        }
    }
}

AccessibilityDescription TableView::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::List;
    return description;
}
