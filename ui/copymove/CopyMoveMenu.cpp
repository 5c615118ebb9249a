#include "ui/copymove/CopyMoveMenu.h"

#include "core/eventstore/EKEvent.h"
#include "foundation/Localization.h"
#include "kit/Button.h"
#include "kit/MenuController.h"
#include "kit/NotificationCenter.h"
#include "kit/TableViewCell.h"
#include "kit/Window.h"
#include "ui/copymove/CopyMoveMenuResponder.h"
#include "ui/copymove/CopyMoveMenuRow.h"

CopyMoveMenu& CopyMoveMenu::instance() {
    // Kept to the end of the process and never destroyed, like the edit menu it observes, so
    // that no view outlives the toolkit in the teardown of statics.
    static const auto* const menu = new std::shared_ptr<CopyMoveMenu>(new CopyMoveMenu());
    return **menu;
}

// The observation ends with the menu: the destructor removes it.
CopyMoveMenu::CopyMoveMenu() {
    NotificationCenter::defaultCenter().addObserver(this, MenuController::willHideMenuNotification,
                                                    [this](const Notification&) { willHideMenu(); });
}

CopyMoveMenu::~CopyMoveMenu() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void CopyMoveMenu::showInView(View& view, View& itemView, std::weak_ptr<CopyMoveMenuResponder> responder) {
    m_itemView = itemView.weak_from_this();
    m_responder = std::move(responder);
    itemView.becomeFirstResponder();
    addBackgroundView(view);

    MenuController& menu = MenuController::sharedMenuController();
    menu.setMenuItems({
        MenuItem(localizedString(QStringLiteral("Copy ~menu")),
                 chooseAction(&CopyMoveMenuResponder::handleMenuChoiceCopy)),
        MenuItem(localizedString(QStringLiteral("Move ~menu")),
                 chooseAction(&CopyMoveMenuResponder::handleMenuChoiceMove)),
        MenuItem(localizedString(QStringLiteral("Delete ~menu")),
                 chooseAction(&CopyMoveMenuResponder::handleMenuChoiceDelete)),
    });
    // The row may sit deeper than right in the view, as a cell of the day list's table does.
    menu.setTargetRect(itemView.convertRectToView(itemView.bounds(), &view), &view);
    menu.setMenuVisible(true, true);
}

// The cover takes the tap that closes the menu, which would otherwise reach the day below.
void CopyMoveMenu::addBackgroundView(View& view) {
    Window* window = view.window();
    if (window == nullptr) {
        return;
    }
    if (m_backgroundView) {
        m_backgroundView->removeFromSuperview();
    }
    m_backgroundView = std::make_shared<Button>(window->bounds());
    m_backgroundView->setBackgroundColor(Color(0, 0, 0, 0));
    m_backgroundView->onTouchUpInside = [weakSelf = weak_from_this()] {
        if (const std::shared_ptr<CopyMoveMenu> self = weakSelf.lock()) {
            self->willHideMenu();
        }
    };
    window->addSubview(m_backgroundView);
}

std::function<void()> CopyMoveMenu::chooseAction(Choice choice) {
    return [weakSelf = weak_from_this(), choice] {
        if (const std::shared_ptr<CopyMoveMenu> self = weakSelf.lock()) {
            self->choose(choice);
        }
    };
}

void CopyMoveMenu::choose(Choice choice) {
    const std::shared_ptr<CopyMoveMenuResponder> responder = m_responder.lock();
    if (responder && m_event) {
        ((*responder).*choice)(m_event);
    }
}

void CopyMoveMenu::preventEventViewDeselection() {
    m_itemView.reset();
}

void CopyMoveMenu::willHideMenu() {
    // Forgotten first: hiding the edit menu below reports back here.
    const std::shared_ptr<View> itemView = m_itemView.lock();
    const std::shared_ptr<Button> backgroundView = std::move(m_backgroundView);
    m_event.reset();
    m_itemView.reset();
    m_responder.reset();
    if (itemView) {
        deselect(*itemView);
    }
    if (backgroundView) {
        backgroundView->removeFromSuperview();
    }
    MenuController::sharedMenuController().setMenuVisible(false, true);
}

void CopyMoveMenu::deselect(View& itemView) {
    if (auto* row = dynamic_cast<CopyMoveMenuRow*>(&itemView)) {
        row->deselectForClosedMenu();
    } else if (auto* cell = dynamic_cast<TableViewCell*>(&itemView)) {
        cell->setSelected(false, true);
    }
}
