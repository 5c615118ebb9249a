#pragma once

class ScrollView;

// What a scroll view reports while it moves; every report is optional. The order is the
// platform's: a drag gives willBeginDragging, didScroll at every step, didEndDragging (telling
// whether it goes on moving), then, when it does, willBeginDecelerating, didScroll at every
// step and didEndDecelerating. An animated offset change gives didScroll at every step and
// didEndScrollingAnimation.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
    virtual void scrollViewWillBeginDragging(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/, bool /*willDecelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndDecelerating(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndScrollingAnimation(ScrollView& /*scrollView*/) {}
};
