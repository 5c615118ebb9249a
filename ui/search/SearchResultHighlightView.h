#pragma once

#include "kit/ImageView.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class EKEvent;
class Label;

// The bubble that marks the current search result over its event row (or over the day box whose
// rows do not show it). There is one bubble for the whole program; it lives in the dimming layer
// of the open search bar.
class SearchResultHighlightView : public ImageView {
public:
    static constexpr double birthdayOffset = 19.0;
    static constexpr double titleLimit = 148.0;
    static constexpr double birthdayTitleLimit = 129.0;
    static constexpr double bubbleHeight = 38.0;

    static const std::shared_ptr<SearchResultHighlightView>& selectedResultInstance();

    SearchResultHighlightView();

    void setSearchBackgroundView(const std::shared_ptr<View>& view) { m_searchBackgroundView = view; }
    std::shared_ptr<View> searchBackgroundView() const { return m_searchBackgroundView.lock(); }

    void setEvent(const EKEvent& event);
    void setTime(const std::optional<QString>& time, const QString& text, bool birthday);
    // The point is in the coordinates of the search background view.
    void showAnimatedOnTopOfPosition(Point position);
    void showOnTopOfView(Point position);
    void hide();
    // Runs once, when the bubble is next shown or hidden.
    void setOnCompletion(std::function<void()> onCompletion) { m_onCompletion = std::move(onCompletion); }

    bool birthday() const { return m_birthday; }
    const std::shared_ptr<Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }

private:
    void runCompletion();

    std::shared_ptr<Label> m_timeLabel;
    std::shared_ptr<Label> m_titleLabel;
    bool m_birthday = false;
    std::weak_ptr<View> m_searchBackgroundView;
    std::function<void()> m_onCompletion;
};
