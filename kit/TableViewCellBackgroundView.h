#pragma once

#include "foundation/Color.h"
#include "kit/View.h"

// The background a table row shows by default, normal or selected. In a plain table it fills the
// row; in a grouped table it is the row's slice of the rounded group (the first and last rows
// round their outer corners) with the group's border and the line between rows.
class TableViewCellBackgroundView : public View {
public:
    enum class Position { Single, Top, Middle, Bottom };
    enum class Fill { White, Blue, Gray };

    TableViewCellBackgroundView(bool grouped, Fill fill);

    static constexpr double groupCornerRadius = 10.0;
    static Color groupBorderColor() { return Color::fromRgb255(171, 171, 171); }

    bool grouped() const { return m_grouped; }
    void setGrouped(bool grouped);
    Position position() const { return m_position; }
    void setPosition(Position position);
    Fill fill() const { return m_fill; }
    void setFill(Fill fill);
    // The line drawn between grouped rows.
    const Color& separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const Color& color);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void addShapePath(GraphicsContext& context, const Rect& rect) const;

    bool m_grouped;
    Fill m_fill;
    Position m_position = Position::Single;
    Color m_separatorColor = groupBorderColor();
};
