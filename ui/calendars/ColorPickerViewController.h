#pragma once

#include "foundation/Color.h"
#include "kit/ViewController.h"
#include "ui/common/PresenterRotation.h"

#include <memory>

class ColorPickerDayView;
class ColorPickerDelegate;
class ColorSlider;
class EKCalendar;
class ImageView;
class Label;
class Slider;
class View;
class BrightnessColorRenderer;
class HueColorRenderer;
class SaturationColorRenderer;

// The custom colour picker, pushed by the calendar form: hue, saturation and brightness sliders
// whose tracks show the colours they would give, and a day with two sample events in the colour
// built. "Done" hands the colour to the delegate and pops back; "Cancel" pops back.
// It turns as the week screen it was opened from does.
class ColorPickerViewController : public FollowsPresenterRotation<ViewController> {
public:
    static constexpr double previewOpeningDuration = 0.3;
    static constexpr double previewGrowth = 100.0;

    // The delegate is not owned (the form below on the stack).
    ColorPickerViewController(std::shared_ptr<EKCalendar> calendar, const Color& color,
                              ColorPickerDelegate* delegate);
    ~ColorPickerViewController() override;

    const Color& color() const { return m_color; }
    const std::shared_ptr<EKCalendar>& calendar() const { return m_calendar; }
    const std::shared_ptr<ColorSlider>& hueSlider() const { return m_hueSlider; }
    const std::shared_ptr<ColorSlider>& saturationSlider() const { return m_saturationSlider; }
    const std::shared_ptr<ColorSlider>& brightnessSlider() const { return m_brightnessSlider; }
    const std::shared_ptr<ColorPickerDayView>& colorPickerDayView() const { return m_colorPickerDayView; }
    const std::shared_ptr<ImageView>& previewBackground() const { return m_previewBackground; }
    const std::shared_ptr<Label>& previewLabel() const { return m_previewLabel; }

    // Builds the colour from the three sliders and redraws every track but the moved slider's.
    void applyColorFromSliders(const Slider* movedSlider);
    void sliderChanged(Slider& slider);
    void doneButtonPressed();
    void cancelButtonPressed();

    void viewDidAppear(bool animated) override;

protected:
    void loadView() override;
    void viewDidLoad() override;

private:
    std::shared_ptr<ColorSlider> makeSlider(View& parent, double y,
                                            std::shared_ptr<class ColorRenderer> renderer, double value);
    void hidePreview();

    std::shared_ptr<EKCalendar> m_calendar;
    Color m_color;
    ColorPickerDelegate* m_delegate;
    std::shared_ptr<HueColorRenderer> m_hueRenderer;
    std::shared_ptr<SaturationColorRenderer> m_saturationRenderer;
    std::shared_ptr<BrightnessColorRenderer> m_brightnessRenderer;
    std::shared_ptr<ColorSlider> m_hueSlider;
    std::shared_ptr<ColorSlider> m_saturationSlider;
    std::shared_ptr<ColorSlider> m_brightnessSlider;
    std::shared_ptr<ColorPickerDayView> m_colorPickerDayView;
    std::shared_ptr<ImageView> m_previewBackground;
    std::shared_ptr<ImageView> m_speechBalloon;
    std::shared_ptr<Label> m_previewLabel;
    std::shared_ptr<View> m_slidersTitleSeparatorLine;
    std::shared_ptr<Label> m_slidersTitle;
    bool m_previewOpened = false;
    bool m_slidersMoved = false;
};
