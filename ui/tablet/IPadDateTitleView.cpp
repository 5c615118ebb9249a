#include "ui/tablet/IPadDateTitleView.h"

#include "ui/tablet/IPadDateTitleTextButtonView.h"
#include "ui/tablet/IPadDateTitleWeekButtonView.h"

std::shared_ptr<IPadDateTitleView> IPadDateTitleView::create(const Rect& frame) {
    std::shared_ptr<IPadDateTitleView> view(new IPadDateTitleView(frame));
    view->initialize();
    return view;
}

std::shared_ptr<DateTitleWeekButtonView> IPadDateTitleView::newDateTitleWeekButtonView(const Rect& frame) {
    return std::make_shared<IPadDateTitleWeekButtonView>(frame);
}

std::shared_ptr<DateTitleTextButtonView> IPadDateTitleView::newDateTitleTextButtonView(const Rect& frame) {
    return std::make_shared<IPadDateTitleTextButtonView>(frame);
}
