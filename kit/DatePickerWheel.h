#pragma once

#include "kit/Font.h"
#include "kit/TextAlignment.h"
#include "kit/View.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Timer;

// One wheel of the date picker: rows 44 points high that a finger drags up and down. On release
// the wheel glides on with the finger's speed and slows down to rest with a row exactly in the
// middle; a tap on another row turns that row to the middle. A looping wheel repeats its rows
// without end (hours and minutes); the other kind stops at its first and last row. Motion steps
// on the animator's frames, at 60 Hz.
class DatePickerWheel : public View {
public:
    static constexpr double rowHeight = 44.0;

    explicit DatePickerWheel(const Rect& frame);
    ~DatePickerWheel() override;

    QStringList rows() const { return m_rows; }
    // Keeps the selected row where it still exists.
    void setRows(const QStringList& rows);
    bool looping() const { return m_looping; }
    void setLooping(bool looping);
    // Where the row titles sit: against the left or right edge, `textInset` points in, or centred.
    void setTextAlignment(TextAlignment alignment, double textInset);
    // Titles are drawn in the bold system font of this size (24 unless set), smaller where the
    // widest title would not fit the wheel.
    void setFontSize(double size);

    // The row resting in the middle (the one the wheel heads for while it moves); -1 without
    // rows.
    int selectedRow() const;
    // Turns the wheel, a looping one the shorter way round; animated over 0.3 seconds. Never
    // reports.
    void setSelectedRow(int row, bool animated);
    // The row whose title is drawn across the y coordinate (in bounds), or -1.
    int rowShownAt(double y) const;
    bool isMoving() const { return m_motion.active; }
    bool isTracking() const { return m_tracking; }
    // Whether the user's finger, or the glide it let go, still moves the wheel; a turn set by
    // the program does not count.
    bool isTurning() const { return m_tracking || (m_motion.active && m_motion.report); }

    // Runs when the wheel comes to rest after the user turned it.
    std::function<void(DatePickerWheel& wheel)> onSettled;

    // The picker's translucent selection bar, drawn by each wheel over its rows and by the
    // picker between them.
    static void drawSelectionBar(GraphicsContext& context, const Rect& bar);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    struct Motion {
        bool active = false;
        double from = 0.0;
        double to = 0.0;
        double startTime = 0.0;
        double duration = 0.0;
        bool report = false;
    };
    struct Sample {
        double time;
        double y;
    };

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int rowForSlot(long slot) const;
    long nearestSlot(double offset) const;
    double middleY() const { return bounds().height() / 2.0; }
    // Limits a dragged offset: past the ends of a wheel that does not loop, it follows the
    // finger at half the speed.
    double resisted(double offset) const;
    void startMotion(double to, double duration, bool report);
    void stopMotion();
    void step();
    void settle(bool report);
    void finishTouch(double time, double y, bool dragged);
    void measureTitles();
    Font titleFont() const;

    QStringList m_rows;
    bool m_looping = false;
    TextAlignment m_textAlignment = TextAlignment::Center;
    double m_textInset = 0.0;
    double m_fontSize = 24.0;
    // The title that is widest in that font, measured whenever the rows or the size change.
    QString m_widestTitle;
    // The position of the middle of the wheel in row slots times the row height: slot n is in
    // the middle at n × rowHeight. A looping wheel shows row (n mod rows) in slot n.
    double m_offset = 0.0;
    Motion m_motion;
    std::shared_ptr<Timer> m_timer;

    bool m_tracking = false;
    bool m_dragged = false;
    bool m_caught = false;
    double m_touchStartY = 0.0;
    double m_offsetAtTouchStart = 0.0;
    std::vector<Sample> m_samples;
};
