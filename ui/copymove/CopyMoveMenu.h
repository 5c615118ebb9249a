#pragma once

#include <functional>
#include <memory>

class Button;
class CopyMoveMenuResponder;
class EKEvent;
class View;

// The small menu of copy, move and delete that a tap and hold on an event row opens, on the
// shared edit menu. While it shows, a transparent cover over the window takes the tap that
// closes it, so that the tap reaches no day. When it closes, the row loses its selection unless
// a choice was made (the mode that follows keeps the row marked). Main thread only.
class CopyMoveMenu : public std::enable_shared_from_this<CopyMoveMenu> {
public:
    static CopyMoveMenu& instance();
    ~CopyMoveMenu();
    CopyMoveMenu(const CopyMoveMenu&) = delete;
    CopyMoveMenu& operator=(const CopyMoveMenu&) = delete;

    // Points the menu at the row (`itemView`, a subview of `view`) and shows it; the choice goes
    // to `responder` with the menu's event. The row becomes first responder; a row that is a
    // CopyMoveMenuRow, or a table cell, is deselected when the menu closes without a choice.
    void showInView(View& view, View& itemView, std::weak_ptr<CopyMoveMenuResponder> responder);
    // Forgets the row, so that closing the menu after a choice leaves it selected.
    void preventEventViewDeselection();
    // The menu closes: the row (if still known) is deselected, the cover removed, the event and
    // the row forgotten.
    void willHideMenu();

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setEvent(std::shared_ptr<EKEvent> event) { m_event = std::move(event); }
    const std::shared_ptr<Button>& backgroundView() const { return m_backgroundView; }
    std::shared_ptr<View> itemView() const { return m_itemView.lock(); }

private:
    CopyMoveMenu();
    using Choice = void (CopyMoveMenuResponder::*)(const std::shared_ptr<EKEvent>&);
    // Runs the choice while the menu exists.
    std::function<void()> chooseAction(Choice choice);
    void choose(Choice choice);
    void addBackgroundView(View& view);
    static void deselect(View& itemView);

    std::shared_ptr<EKEvent> m_event;
    std::shared_ptr<Button> m_backgroundView;
    std::weak_ptr<View> m_itemView;
    std::weak_ptr<CopyMoveMenuResponder> m_responder;
};
