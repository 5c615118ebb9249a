#pragma once

#include "kit/View.h"

#include <functional>
#include <memory>

// The day list's box. It grows out of the touched day into its own frame while the view it pops
// up in darkens behind it, and shrinks back into the day when it is dismissed.
class ListBoxView : public View {
public:
    static constexpr double popupDuration = 0.3;
    static constexpr double dimmedAlpha = 0.5;

    // With its upper part added.
    static std::shared_ptr<ListBoxView> create(const Rect& frame);
    explicit ListBoxView(const Rect& frame);

    // The day's frame in the box's superview, where the box grows from and shrinks back to.
    Rect sourceFrame() const { return m_sourceFrame; }
    bool poppedUp() const { return m_poppedUp; }
    // The dimmed view the box shows in while popped up; held weakly, as it holds the box.
    std::shared_ptr<View> poppedUpInView() const { return m_poppedUpInView.lock(); }
    // The upper part of the box: the header and the table.
    const std::shared_ptr<View>& topBoxView() const { return m_topBoxView; }

    // Grows from `source` to the box's frame in `view`, which darkens meanwhile; `completion`
    // runs when done. Nothing happens while popped up.
    void popupFromView(const View& source, const std::shared_ptr<View>& view,
                       std::function<void()> completion);
    // Shows in `view` at once, darkened, without growing.
    void popupInView(const std::shared_ptr<View>& view);
    // Shrinks back into the day (or vanishes at once) and takes the dimmed view off the screen.
    void dismissPopupAnimated(bool animated);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    // A touch on the box stays there: passed on, it would reach the dimmed view and close the list.
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    void preparePopup(const std::shared_ptr<View>& view);
    void finishDismissal(const std::shared_ptr<View>& view);

    Rect m_sourceFrame;
    bool m_poppedUp = false;
    std::weak_ptr<View> m_poppedUpInView;
    std::shared_ptr<View> m_topBoxView;
};
