#pragma once

#include "core/hints/HintPresenter.h"
#include "kit/View.h"

#include <memory>

class Hint;
class Label;

// The one floating panel that shows hints: a translucent grey rounded rectangle with the title
// "Hint" (or "New") above the hint's text, 237 points wide and as tall as the text needs. It
// fades in and out over 0.3 seconds and closes when tapped. It sits in the key window, centred
// across the screen below the navigation bar (or in the upper half for hints that ask for it),
// upright in every orientation. Main thread only.
class HintView : public View, public HintPresenter {
public:
    static constexpr double panelWidth = 237.0;
    static constexpr double fadeDuration = 0.3;

    HintView();
    ~HintView() override;

    // Makes a panel and hands it to the hints as their presenter; it joins the key window on its
    // first show.
    static std::shared_ptr<HintView> install();

    // Puts the hint's text and title into the panel and fits the panel to them.
    void setHint(const std::shared_ptr<Hint>& hint);
    const std::shared_ptr<Hint>& currentHint() const { return m_currentHint; }
    // Fades the panel in from transparent.
    void show();
    // Fades the panel out and hides it; nothing happens while it is hidden.
    void hide();
    // Sizes and places the panel for the current orientation in its superview (the screen
    // without a superview).
    void centerView();

    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<Label>& textLabel() const { return m_textLabel; }

    // HintPresenter.
    bool isShowingHint() const override;
    void showHint(const std::shared_ptr<Hint>& hint) override;
    void hideHint() override;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Hint> m_currentHint;
    // Counts the shows, so that a fade-out overtaken by a new show leaves the panel visible.
    unsigned m_showCount = 0;
    bool m_fadingOut = false;
};
