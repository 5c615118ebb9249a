#pragma once

#include "core/calendar/Week.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class DateTitleFaceView;
class DateTitleTextButtonView;
class DateTitleWeekButtonView;

// The title in the middle of the week screen's navigation bar. It shows either the displayed
// week (the week face) or a plain text (the text face), one at a time, and slides between
// them; tapping either face calls `onTapped`. While a slide runs, setWeek and setText are
// ignored.
class DateTitleView : public View {
public:
    static constexpr double slideDuration = 0.3;

    static std::shared_ptr<DateTitleView> create(const Rect& frame);

    std::optional<Week> week() const;
    void setWeek(const Week& week);
    QString text() const;
    void setText(const QString& text);

    // The text comes in from the right while the shown face leaves to the left.
    void animateFromRightWithText(const QString& text);
    // The week comes in from the left while the shown face leaves to the right.
    void animateFromLeftWithWeek(const Week& week);
    // Runs `change` (which makes the navigation bar move the title) and moves the faces back by
    // the title's move, so that on screen they stay where they were.
    void withSubViewsStayingInPositionDo(const std::function<void()>& change);

    bool landscape() const { return m_landscape; }
    void setLandscape(bool landscape);
    const std::function<void()>& onTapped() const { return m_onTapped; }
    void setOnTapped(std::function<void()> onTapped) { m_onTapped = std::move(onTapped); }

    const std::shared_ptr<DateTitleWeekButtonView>& weekButtonView() const { return m_weekButtonView; }
    const std::shared_ptr<DateTitleTextButtonView>& textButtonView() const { return m_textButtonView; }
    bool isAnimating() const { return m_isAnimating; }

protected:
    explicit DateTitleView(const Rect& frame);
    void initialize();
    // The faces; the tablet title makes its own.
    virtual std::shared_ptr<DateTitleWeekButtonView> newDateTitleWeekButtonView(const Rect& frame);
    virtual std::shared_ptr<DateTitleTextButtonView> newDateTitleTextButtonView(const Rect& frame);
    // The faces always fill the title.
    void layoutSubviews() override;

private:
    // A slide under way: the face coming in, the face it replaces and the other face, which
    // leaves with it.
    struct Slide {
        unsigned number;
        std::shared_ptr<DateTitleFaceView> incoming;
        std::shared_ptr<DateTitleFaceView> replaced;
        std::shared_ptr<DateTitleFaceView> other;
        bool incomingIsText;
    };

    std::shared_ptr<DateTitleWeekButtonView> createWeekButtonView();
    std::shared_ptr<DateTitleTextButtonView> createTextButtonView();
    // Adds the face, gives it the tap handler and the landscape flag.
    void adoptFace(DateTitleFaceView& face);
    void startSlide(Slide slide, double direction);
    // Puts the faces where the running slide leaves them and ends it.
    void finishSlide();

    std::shared_ptr<DateTitleWeekButtonView> m_weekButtonView;
    std::shared_ptr<DateTitleTextButtonView> m_textButtonView;
    bool m_isAnimating = false;
    bool m_landscape = false;
    std::function<void()> m_onTapped;
    std::optional<Slide> m_slide;
    unsigned m_slideCount = 0;
};
