#pragma once

#include "TouchTestSupport.h"

#include "kit/Label.h"
#include "kit/TableView.h"

#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

// Rows named "section.row" (or the given texts), made with the reuse identifier "Row"; counts how
// many rows it built and how many it took back from the table; logs the edits it is asked to
// commit and carries them out.
class RowSource : public TableViewDataSource {
public:
    explicit RowSource(std::vector<int> rowCounts) {
        for (std::size_t section = 0; section < rowCounts.size(); ++section) {
            std::vector<QString> texts;
            for (int row = 0; row < rowCounts[section]; ++row) {
                texts.push_back(QStringLiteral("%1.%2").arg(section).arg(row));
            }
            rows.push_back(texts);
        }
    }

    int numberOfSectionsInTableView(TableView&) override { return static_cast<int>(rows.size()); }
    int numberOfRowsInSection(TableView&, int section) override {
        return static_cast<int>(rows[static_cast<std::size_t>(section)].size());
    }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override {
        std::shared_ptr<TableViewCell> cell =
            tableView.dequeueReusableCellWithIdentifier(QStringLiteral("Row"));
        if (cell) {
            ++reused;
        } else {
            cell = std::make_shared<TableViewCell>(style, QStringLiteral("Row"));
            ++created;
        }
        cell->textLabel().setText(text(indexPath));
        if (style != TableViewCell::Style::Default) {
            cell->detailTextLabel().setText(QStringLiteral("detail"));
        }
        return cell;
    }
    QString titleForHeaderInSection(TableView&, int section) override {
        const auto found = headers.find(section);
        return found == headers.end() ? QString() : found->second;
    }
    QString titleForFooterInSection(TableView&, int section) override {
        const auto found = footers.find(section);
        return found == footers.end() ? QString() : found->second;
    }
    bool canEditRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        return !locked.contains(indexPath);
    }
    void commitEditingStyle(TableView& tableView, TableViewCell::EditingStyle editingStyle,
                            const IndexPath& indexPath) override {
        auto& section = rows[static_cast<std::size_t>(indexPath.section())];
        if (editingStyle == TableViewCell::EditingStyle::Delete) {
            log.append(QStringLiteral("delete %1").arg(indexPath.toString()));
            section.erase(section.begin() + indexPath.row());
            tableView.deleteRowsAtIndexPaths({indexPath}, TableView::RowAnimation::Fade);
        } else {
            log.append(QStringLiteral("insert %1").arg(indexPath.toString()));
            section.insert(section.begin() + indexPath.row(), QStringLiteral("new"));
            tableView.insertRowsAtIndexPaths({indexPath}, TableView::RowAnimation::Fade);
        }
    }

    QString text(const IndexPath& indexPath) const {
        return rows[static_cast<std::size_t>(indexPath.section())][static_cast<std::size_t>(indexPath.row())];
    }

    std::vector<std::vector<QString>> rows;
    std::map<int, QString> headers;
    std::map<int, QString> footers;
    std::set<IndexPath> locked;
    TableViewCell::Style style = TableViewCell::Style::Default;
    int created = 0;
    int reused = 0;
    QStringList log;
};

// Logs selections; may redirect or refuse them, answers given heights and editing styles.
class RowDelegate : public TableViewDelegate {
public:
    std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        const auto found = rowHeights.find(indexPath);
        return found == rowHeights.end() ? std::nullopt : std::optional<double>(found->second);
    }
    std::optional<double> heightForHeaderInSection(TableView&, int section) override {
        const auto found = headerHeights.find(section);
        return found == headerHeights.end() ? std::nullopt : std::optional<double>(found->second);
    }
    std::optional<double> heightForFooterInSection(TableView&, int section) override {
        const auto found = footerHeights.find(section);
        return found == footerHeights.end() ? std::nullopt : std::optional<double>(found->second);
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        log.append(QStringLiteral("will %1").arg(indexPath.toString()));
        if (refuse) {
            return std::nullopt;
        }
        return redirect ? *redirect : indexPath;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        log.append(QStringLiteral("did %1").arg(indexPath.toString()));
    }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& indexPath) override {
        log.append(QStringLiteral("deselected %1").arg(indexPath.toString()));
    }
    TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView&,
                                                              const IndexPath& indexPath) override {
        return insertRows.contains(indexPath) ? TableViewCell::EditingStyle::Insert
                                              : TableViewCell::EditingStyle::Delete;
    }
    void scrollViewWillBeginDragging(ScrollView&) override { log.append(QStringLiteral("drag")); }

    std::map<IndexPath, double> rowHeights;
    std::map<int, double> headerHeights;
    std::map<int, double> footerHeights;
    std::set<IndexPath> insertRows;
    bool refuse = false;
    std::optional<IndexPath> redirect;
    QStringList log;
};

inline QString describe(const Rect& rect) {
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

inline QString visibleRows(const TableView& table) {
    QStringList rows;
    for (const IndexPath& indexPath : table.indexPathsForVisibleRows()) {
        rows.append(indexPath.toString());
    }
    return rows.join(QLatin1Char(' '));
}
