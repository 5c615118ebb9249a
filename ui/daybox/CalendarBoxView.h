#pragma once

#include "kit/Font.h"
#include "kit/View.h"

#include <QString>

// A rounded white card with a header band: the day of the week at the left, the day of the month
// at the right. Shared by the day boxes and other boxes of the program; a box of any `size` other
// than 0 is a mini box with a lower header and a smaller title font.
class CalendarBoxView : public View {
public:
    explicit CalendarBoxView(const Rect& frame);

    const QString& leftTitle() const { return m_leftTitle; }
    void setLeftTitle(const QString& title);
    const QString& rightTitle() const { return m_rightTitle; }
    void setRightTitle(const QString& title);
    // The "today" look: darker header gradients and white titles.
    bool permanentlyHighlighted() const { return m_permanentlyHighlighted; }
    void setPermanentlyHighlighted(bool highlighted);
    int size() const { return m_size; }
    void setSize(int size);
    bool hideBorders() const { return m_hideBorders; }
    void setHideBorders(bool hide);
    bool fixedContentDrawn() const { return m_fixedContentDrawn; }

    // Draws the static card into the context at the view's frame (the context being the
    // superview's), so that many boxes can share one pre-drawn background; the box then draws
    // only what changes.
    void drawFixedContentOnSuperView(GraphicsContext& context);

    // The header's geometry and the titles' font; a mini box has its own header height and font.
    Font getEventFont() const { return eventFont(); }
    Font titleFont() const { return getEventFont(); }
    static Font miniTitleFont();
    double getHeaderHeight() const;
    double getHeaderMargin() const { return headerMargin(); }
    double getTextPositionY() const { return textPositionY(); }

protected:
    // The card's own header, overridden by the tablet's larger card.
    virtual Font eventFont() const;
    virtual double headerHeight() const { return 23.0; }
    virtual double headerMargin() const { return 3.0; }
    virtual double textPositionY() const { return 2.0; }

    void drawRect(GraphicsContext& context, const Rect& rect) override;
    // The white card, its header band, outline and the line under the header.
    void drawFixedContentInRect(GraphicsContext& context, const Rect& rect) const;

private:
    // The static layers of a card: the card itself, and today's darker look over it.
    enum class CardLayer { Card, Today };
    static void drawCard(GraphicsContext& context, const Rect& rect, double headerHeight, bool hideBorders);
    static void drawToday(GraphicsContext& context, const Rect& rect, double headerHeight, bool hideBorders);
    // Draws the layer over the bounds.
    void layDown(GraphicsContext& context, CardLayer layer) const;
    void drawTitles(GraphicsContext& context) const;
    bool isMini() const { return m_size != 0; }

    bool m_fixedContentDrawn = false;
    QString m_leftTitle;
    QString m_rightTitle;
    bool m_permanentlyHighlighted = false;
    int m_size = 0;
    bool m_hideBorders = false;
};
