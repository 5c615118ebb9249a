#pragma once

#include "kit/View.h"

#include <QString>

// Marching ants: a rounded outline of black dashes (10 on, 10 off) whose phase is the animatable
// layer property "offset". The kit's layers belong to their views, so the ants are a view that
// draws with the offset shown at the moment.
class AntPathView : public View {
public:
    static inline const QString offsetKey = QStringLiteral("offset");

    explicit AntPathView(const Rect& frame);

    double offset() const;
    void setOffset(double offset);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
};
