#include "ui/week/DateTitleView.h"

#include "kit/Layer.h"
#include "kit/Screen.h"
#include "ui/week/DateTitleTextButtonView.h"
#include "ui/week/DateTitleWeekButtonView.h"

std::shared_ptr<DateTitleView> DateTitleView::create(const Rect& frame) {
    std::shared_ptr<DateTitleView> view(new DateTitleView(frame));
    view->initialize();
    return view;
}

DateTitleView::DateTitleView(const Rect& frame) : View(frame) {}

void DateTitleView::initialize() {
    setBackgroundColor(std::nullopt);
    m_weekButtonView = createWeekButtonView();
    m_textButtonView = createTextButtonView();
    // The week face is the one shown until a text is asked for.
    m_textButtonView->setAlpha(0.0);
}

std::shared_ptr<DateTitleWeekButtonView> DateTitleView::newDateTitleWeekButtonView(const Rect& frame) {
    return std::make_shared<DateTitleWeekButtonView>(frame);
}

std::shared_ptr<DateTitleTextButtonView> DateTitleView::newDateTitleTextButtonView(const Rect& frame) {
    return std::make_shared<DateTitleTextButtonView>(frame);
}

std::shared_ptr<DateTitleWeekButtonView> DateTitleView::createWeekButtonView() {
    auto face = newDateTitleWeekButtonView(bounds());
    adoptFace(*face);
    return face;
}

std::shared_ptr<DateTitleTextButtonView> DateTitleView::createTextButtonView() {
    auto face = newDateTitleTextButtonView(bounds());
    adoptFace(*face);
    return face;
}

void DateTitleView::adoptFace(DateTitleFaceView& face) {
    addSubview(face.shared_from_this());
    const std::weak_ptr<View> weakSelf = weak_from_this();
    face.setOnTapped([weakSelf] {
        const auto self = std::static_pointer_cast<DateTitleView>(weakSelf.lock());
        if (self && self->m_onTapped) {
            self->m_onTapped();
        }
    });
    face.setLandscape(m_landscape);
}

std::optional<Week> DateTitleView::week() const {
    return m_weekButtonView->week();
}

void DateTitleView::setWeek(const Week& week) {
    if (m_isAnimating) {
        return;
    }
    m_weekButtonView->setWeek(week);
    m_weekButtonView->setAlpha(1.0);
    m_textButtonView->setAlpha(0.0);
}

QString DateTitleView::text() const {
    return m_textButtonView->text();
}

void DateTitleView::setText(const QString& text) {
    if (m_isAnimating) {
        return;
    }
    m_textButtonView->setText(text);
    m_textButtonView->setAlpha(1.0);
    m_weekButtonView->setAlpha(0.0);
}

void DateTitleView::animateFromRightWithText(const QString& text) {
    finishSlide();
    auto incoming = createTextButtonView();
    incoming->setText(text);
    startSlide(Slide{++m_slideCount, incoming, m_textButtonView, m_weekButtonView, true}, 1.0);
}

void DateTitleView::animateFromLeftWithWeek(const Week& week) {
    finishSlide();
    auto incoming = createWeekButtonView();
    incoming->setWeek(week);
    startSlide(Slide{++m_slideCount, incoming, m_weekButtonView, m_textButtonView, false}, -1.0);
}

void DateTitleView::startSlide(Slide slide, double direction) {
    const double width = Screen::main().bounds().width();
    performWithoutAnimation([&] {
        slide.incoming->setFrameX(direction * width);
        slide.incoming->setAlpha(0.0);
    });
    m_isAnimating = true;
    m_slide = slide;
    const std::weak_ptr<View> weakSelf = weak_from_this();
    animate(
        slideDuration,
        [&] {
            slide.incoming->setFrameX(0.0);
            slide.incoming->setAlpha(1.0);
            for (const auto& leaving : {slide.replaced, slide.other}) {
                leaving->setFrameX(-direction * width);
                leaving->setAlpha(0.0);
            }
        },
        [weakSelf, number = slide.number](bool) {
            const auto self = std::static_pointer_cast<DateTitleView>(weakSelf.lock());
            if (self && self->m_slide && self->m_slide->number == number) {
                self->finishSlide();
            }
        });
}

void DateTitleView::finishSlide() {
    if (!m_slide) {
        return;
    }
    const Slide slide = *m_slide;
    m_slide.reset();
    // Setting the end values outside an animation also stops a slide overtaken by a new one.
    performWithoutAnimation([&] {
        slide.incoming->setFrameX(0.0);
        slide.incoming->setAlpha(1.0);
        slide.other->setFrameX(0.0);
        slide.other->setAlpha(0.0);
        slide.replaced->removeFromSuperview();
    });
    if (slide.incomingIsText) {
        m_textButtonView = std::static_pointer_cast<DateTitleTextButtonView>(slide.incoming);
    } else {
        m_weekButtonView = std::static_pointer_cast<DateTitleWeekButtonView>(slide.incoming);
    }
    m_isAnimating = false;
}

void DateTitleView::withSubViewsStayingInPositionDo(const std::function<void()>& change) {
    const double before = frame().x();
    change();
    // A new size gives the faces the new bounds now, so that the shift below stays.
    layoutIfNeeded();
    const double shift = frame().x() - before;
    // When the bar animates the title's move, the faces move back along the same path.
    const std::optional<BasicAnimation> titleMove = layer().animationForKey(Layer::positionKey);
    for (const auto& face : subviews()) {
        const Point from = face->center();
        face->moveFrameX(-shift);
        if (titleMove && shift != 0.0) {
            BasicAnimation follow = *titleMove;
            follow.setFromValue(from);
            follow.setToValue(face->center());
            follow.setCompletion({});
            face->layer().addAnimation(Layer::positionKey, follow);
        }
    }
}

void DateTitleView::setLandscape(bool landscape) {
    m_landscape = landscape;
    for (const auto& view : subviews()) {
        if (const auto face = std::dynamic_pointer_cast<DateTitleFaceView>(view)) {
            face->setLandscape(landscape);
        }
    }
}

void DateTitleView::layoutSubviews() {
    for (const auto& face : subviews()) {
        face->setFrame(bounds());
    }
}
