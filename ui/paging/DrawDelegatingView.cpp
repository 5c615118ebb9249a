#include "ui/paging/DrawDelegatingView.h"

void DrawDelegatingView::drawRect(GraphicsContext& context, const Rect& rect) {
    View::drawRect(context, rect);
    if (m_drawRectCallBack) {
        m_drawRectCallBack(context, rect);
    }
}
