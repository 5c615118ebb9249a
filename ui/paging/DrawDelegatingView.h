#pragma once

#include "kit/View.h"

#include <functional>

// A view whose drawing its owner supplies.
class DrawDelegatingView : public View {
public:
    using DrawRectCallBack = std::function<void(GraphicsContext& context, const Rect& rect)>;

    using View::View;

    const DrawRectCallBack& drawRectCallBack() const { return m_drawRectCallBack; }
    void setDrawRectCallBack(DrawRectCallBack callBack) { m_drawRectCallBack = std::move(callBack); }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    DrawRectCallBack m_drawRectCallBack;
};
