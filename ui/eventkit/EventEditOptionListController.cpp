#include "ui/eventkit/EventEditOptionListController.h"

#include "kit/Label.h"
#include "kit/NavigationController.h"

EventEditOptionListController::EventEditOptionListController(const QString& title, QStringList options,
                                                             int selectedIndex)
    : TableViewController(TableView::Style::Grouped), m_options(std::move(options)),
      m_selectedIndex(selectedIndex) {
    setTitle(title);
}

void EventEditOptionListController::choose(int index) {
    if (index < 0 || index >= m_options.size()) {
        return;
    }
    m_selectedIndex = index;
    tableView()->reloadData();
    if (onChosen) {
        onChosen(index);
    }
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

int EventEditOptionListController::numberOfRowsInSection(TableView&, int) {
    return static_cast<int>(m_options.size());
}

std::shared_ptr<TableViewCell>
EventEditOptionListController::cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(QStringLiteral("option"));
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, QStringLiteral("option"));
    }
    cell->textLabel().setText(m_options.value(indexPath.row()));
    cell->setAccessoryType(indexPath.row() == m_selectedIndex ? TableViewCell::AccessoryType::Checkmark
                                                              : TableViewCell::AccessoryType::None);
    return cell;
}

void EventEditOptionListController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    choose(indexPath.row());
}
