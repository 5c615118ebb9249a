#include "ui/settings/KeyboardShortcutsViewController.h"

#include "foundation/Localization.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/TableView.h"
#include "kit/TableViewCell.h"

KeyboardShortcutsViewController::KeyboardShortcutsViewController()
    : TableViewController(TableView::Style::Grouped), m_shortcuts(KeyboardShortcuts::all()) {
    setTitle(localizedString(QStringLiteral("Keyboard Shortcuts")));
}

int KeyboardShortcutsViewController::numberOfSectionsInTableView(TableView&) {
    return 1;
}

int KeyboardShortcutsViewController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(m_shortcuts.size());
}

std::shared_ptr<TableViewCell>
KeyboardShortcutsViewController::cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    const QString identifier = QStringLiteral("ShortcutCell");
    std::shared_ptr<TableViewCell> cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, identifier);
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
        // Both texts shrink rather than cut: the longer descriptions share the row with the keys.
        cell->textLabel().setFont(Font::boldSystemFontOfSize(13));
        cell->textLabel().setAdjustsFontSizeToFitWidth(true);
        cell->detailTextLabel().setFont(Font::systemFontOfSize(13));
        cell->detailTextLabel().setAdjustsFontSizeToFitWidth(true);
    }
    const KeyboardShortcut& shortcut = m_shortcuts.at(static_cast<std::size_t>(indexPath.row()));
    cell->textLabel().setText(shortcut.action);
    cell->detailTextLabel().setText(shortcut.keys);
    return cell;
}
