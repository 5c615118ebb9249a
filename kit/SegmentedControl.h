#pragma once

#include "foundation/Color.h"
#include "kit/Control.h"
#include "kit/Image.h"

#include <QString>
#include <QStringList>

#include <vector>

// A row of equally wide segments, each with a title or an image, of which one may be selected.
// A finger lifted on the segment it came down on selects that segment and reports the change;
// a momentary control reports every tap and keeps no segment shown selected. Disabled segments
// take no taps.
//
// Styles: `Bordered`, the 44-point white control with blue selection; `Bar`, the 30-point
// glossy control for bars, in `tintColor`.
class SegmentedControl : public Control {
public:
    enum class Style { Bordered, Bar };
    static constexpr int noSegment = -1;
    static constexpr double borderedHeight = 44.0;
    static constexpr double barHeight = 30.0;

    SegmentedControl();
    explicit SegmentedControl(const QStringList& items);
    ~SegmentedControl() override;

    Style segmentedControlStyle() const { return m_style; }
    void setSegmentedControlStyle(Style style);
    Color tintColor() const { return m_tintColor; }
    void setTintColor(const Color& color);

    int numberOfSegments() const { return static_cast<int>(m_segments.size()); }
    // Inserts before `segment` (clamped to the end).
    void insertSegmentWithTitle(const QString& title, int segment);
    void insertSegmentWithImage(const Image& image, int segment);
    void removeSegment(int segment);
    void removeAllSegments();
    void setTitle(const QString& title, int segment);
    QString titleForSegmentAtIndex(int segment) const;
    void setImage(const Image& image, int segment);
    Image imageForSegmentAtIndex(int segment) const;
    using Control::setEnabled;
    void setEnabled(bool enabled, int segment);
    bool isEnabledForSegmentAtIndex(int segment) const;

    int selectedSegmentIndex() const { return m_selectedSegmentIndex; }
    // Out-of-range indexes select no segment.
    void setSelectedSegmentIndex(int index);
    bool momentary() const { return m_momentary; }
    void setMomentary(bool momentary);

    // The segment a finger is on now, or noSegment.
    int highlightedSegment() const {
        return m_trackedSegment >= 0 && m_touchInside ? m_trackedSegment : noSegment;
    }
    // The segment under a point in bounds coordinates, or noSegment.
    int segmentAtPoint(Point point) const;
    Rect rectForSegment(int segment) const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    Size fittingSize(Size size) const override;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    struct Segment {
        QString title;
        Image image;
        bool enabled = true;
    };

    bool isValidSegment(int segment) const { return segment >= 0 && segment < numberOfSegments(); }
    void drawSegment(GraphicsContext& context, int segment, bool selected) const;

    Style m_style = Style::Bordered;
    Color m_tintColor = Color::fromRgb255(112, 134, 166);
    std::vector<Segment> m_segments;
    int m_selectedSegmentIndex = noSegment;
    bool m_momentary = false;
    int m_trackedSegment = noSegment;
    bool m_touchInside = false;
};
