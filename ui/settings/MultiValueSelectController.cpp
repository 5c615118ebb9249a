#include "ui/settings/MultiValueSelectController.h"

#include "core/settings/MultiValueSelectControllerDelegate.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "ui/settings/ValueCell.h"

MultiValueSelectController::MultiValueSelectController(const QString& title, SettingOptions settingOptions,
                                                       MultiValueSelectControllerDelegate& delegate)
    : TableViewController(TableView::Style::Grouped), m_settingOptions(std::move(settingOptions)),
      m_delegate(delegate) {
    setTitle(title);
}

void MultiValueSelectController::viewWillAppear(bool animated) {
    TableViewController::viewWillAppear(animated);
    if (m_scrolledToSelectedOption) {
        return;
    }
    // The navigation controller has sized the table by now, so the middle is the one on screen.
    m_scrolledToSelectedOption = true;
    const int selected = m_settingOptions.indexForKey();
    if (selected != SettingOptions::notFound) {
        tableView()->scrollToRowAtIndexPath(IndexPath(selected, 0), TableView::ScrollPosition::Middle, false);
    }
}

int MultiValueSelectController::numberOfRowsInSection(TableView&, int) {
    return m_settingOptions.count();
}

std::shared_ptr<TableViewCell> MultiValueSelectController::cellForRowAtIndexPath(TableView& tableView,
                                                                                 const IndexPath& indexPath) {
    std::shared_ptr<ValueCell> cell = std::dynamic_pointer_cast<ValueCell>(
        tableView.dequeueReusableCellWithIdentifier(QString::fromLatin1(ValueCell::reuseIdentifier)));
    if (!cell) {
        cell = std::make_shared<ValueCell>();
    }
    cell->valueTextLabel().setText(m_settingOptions.valueForIndex(indexPath.row()));
    cell->setChecked(indexPath.row() == m_settingOptions.indexForKey());
    return cell;
}

void MultiValueSelectController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    const int row = indexPath.row();
    m_delegate.optionSelected(m_settingOptions.keyForIndex(row), m_settingOptions.valueForIndex(row));
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}
