#pragma once

#include "kit/View.h"

#include <QString>

#include <memory>

class Label;
class LoadingIndicator;
class Timer;

// The translucent message box in the middle of the screen: "Searching" with a spinner while the
// store is queried, or a short message that goes away by itself.
class SearchProgressView : public View {
public:
    static constexpr double HORIZONTAL_PADDING = 16.0;
    static constexpr double VERTICAL_PADDING = 14.0;
    static constexpr double hideDelay = 2.0;
    static constexpr double fadeDuration = 0.2;
    // The point of the screen the box is centred on.
    static constexpr double centreX = 160.0;
    static constexpr double centreY = 257.0;

    static std::shared_ptr<SearchProgressView> create();
    SearchProgressView();

    void setMessage(const QString& text, bool progressIndicator);
    // Joins the key window and fades in.
    void show();
    void hide();
    // Hides after two seconds, replacing a hide already waiting.
    void hideDelayed();

    const std::shared_ptr<Label>& textLabel() const { return m_textLabel; }
    const std::shared_ptr<LoadingIndicator>& activityIndicatorView() const { return m_activityIndicatorView; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void cancelHideTimer();

    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<LoadingIndicator> m_activityIndicatorView;
    std::shared_ptr<Timer> m_hideTimer;
};
