#include "ui/calendars/ColorPickerViewController.h"

#include "foundation/Localization.h"
#include "kit/Artwork.h"
#include "kit/BarButtonItem.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "ui/calendars/ColorPickerArtwork.h"
#include "ui/calendars/ColorPickerDayView.h"
#include "ui/calendars/ColorPickerDelegate.h"
#include "ui/calendars/ColorRenderer.h"
#include "ui/calendars/ColorSlider.h"
#include "ui/common/HsbColor.h"
#include "ui/common/WeakScreenAction.h"

namespace {

constexpr double pickerWidth = 320.0;
constexpr double pickerHeight = 416.0;
constexpr double pickerSliderX = 30.0;
constexpr double pickerSliderWidth = 260.0;
// Below the balloon's title and separator, one slider every 40 points.
constexpr double pickerFirstSliderY = 225.0;
constexpr double pickerSliderSpacing = 40.0;

const Rect previewBackgroundFrame(0, 40, 320, 105);
const Rect previewLabelFrame(0, 15, 320, 20);
const Rect sampleDayFrame(81, 55, 158, 68);
const Rect speechBalloonFrame(10, 145, 300, 190);
const Rect separatorLineFrame(1, 53, 298, 1);
const Rect slidersTitleFrame(10, 25, 280, 20);

Color pickerBackgroundColor() {
    return Color::fromRgb255(221, 223, 229);
}

} // namespace

ColorPickerViewController::ColorPickerViewController(std::shared_ptr<EKCalendar> calendar, const Color& color,
                                                     ColorPickerDelegate* delegate)
    : m_calendar(std::move(calendar)), m_color(color), m_delegate(delegate),
      m_hueRenderer(std::make_shared<HueColorRenderer>()),
      m_saturationRenderer(std::make_shared<SaturationColorRenderer>()),
      m_brightnessRenderer(std::make_shared<BrightnessColorRenderer>()) {
    setTitle(localizedString(QStringLiteral("Custom Color")));
}

ColorPickerViewController::~ColorPickerViewController() = default;

std::shared_ptr<ColorSlider> ColorPickerViewController::makeSlider(View& parent, double y,
                                                                   std::shared_ptr<ColorRenderer> renderer,
                                                                   double value) {
    auto slider =
        std::make_shared<ColorSlider>(Rect(pickerSliderX, y, pickerSliderWidth, Slider::defaultHeight));
    slider->setValue(value);
    renderer->hsbColor = HsbColor(m_color);
    slider->setColorRenderer(std::move(renderer));
    parent.addSubview(slider);
    return slider;
}

void ColorPickerViewController::loadView() {
    ColorPickerArtwork::registerImages();
    auto root = std::make_shared<View>(Rect(0, 0, pickerWidth, pickerHeight));
    root->setBackgroundColor(pickerBackgroundColor());

    m_previewBackground = std::make_shared<ImageView>(previewBackgroundFrame);
    m_previewBackground->setImage(Artwork::imageNamed(QStringLiteral("colorpicker-previewbackground")));
    root->addSubview(m_previewBackground);

    m_previewLabel = std::make_shared<Label>(previewLabelFrame);
    m_previewLabel->setText(localizedString(QStringLiteral("Preview")));
    m_previewLabel->setTextAlignment(TextAlignment::Center);
    m_previewLabel->setTextColor(Color::fromRgb255(76, 86, 108));
    m_previewLabel->setShadowColor(Color(1, 1, 1));
    m_previewLabel->setShadowOffset(Size(0, 1));
    m_previewLabel->setBackgroundColor(std::nullopt);
    root->addSubview(m_previewLabel);

    m_colorPickerDayView = std::make_shared<ColorPickerDayView>(sampleDayFrame);
    root->addSubview(m_colorPickerDayView);

    m_speechBalloon = std::make_shared<ImageView>(speechBalloonFrame);
    m_speechBalloon->setImage(Artwork::imageNamed(QStringLiteral("colorpicker-speechballoon")));
    m_slidersTitleSeparatorLine = std::make_shared<View>(separatorLineFrame);
    m_slidersTitleSeparatorLine->setBackgroundColor(Color::fromRgb255(199, 199, 199));
    m_speechBalloon->addSubview(m_slidersTitleSeparatorLine);
    m_slidersTitle = std::make_shared<Label>(slidersTitleFrame);
    m_slidersTitle->setText(localizedString(QStringLiteral("Choose a color")));
    m_slidersTitle->setFont(Font::boldSystemFontOfSize(18));
    m_slidersTitle->setTextAlignment(TextAlignment::Center);
    m_slidersTitle->setBackgroundColor(std::nullopt);
    m_speechBalloon->addSubview(m_slidersTitle);
    root->addSubview(m_speechBalloon);

    const HsbColor start(m_color);
    m_hueSlider = makeSlider(*root, pickerFirstSliderY, m_hueRenderer, start.hue);
    m_saturationSlider =
        makeSlider(*root, pickerFirstSliderY + pickerSliderSpacing, m_saturationRenderer, start.saturation);
    m_brightnessSlider = makeSlider(*root, pickerFirstSliderY + 2 * pickerSliderSpacing, m_brightnessRenderer,
                                    start.brightness);
    setView(root);
}

void ColorPickerViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    const std::weak_ptr<ColorPickerViewController> weakSelf =
        std::static_pointer_cast<ColorPickerViewController>(shared_from_this());
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel,
        weakScreenAction(weakSelf, &ColorPickerViewController::cancelButtonPressed)));
    navigationItem()->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Done,
        weakScreenAction(weakSelf, &ColorPickerViewController::doneButtonPressed)));
    for (const std::shared_ptr<ColorSlider>& slider : {m_hueSlider, m_saturationSlider, m_brightnessSlider}) {
        const std::weak_ptr<ColorSlider> weakSlider = slider;
        slider->onValueChanged = [weakSelf, weakSlider] {
            const auto self = weakSelf.lock();
            const auto moved = weakSlider.lock();
            if (self && moved) {
                self->sliderChanged(*moved);
            }
        };
    }
    applyColorFromSliders(nullptr);
    hidePreview();
}

// The preview starts closed; viewDidAppear opens it.
void ColorPickerViewController::hidePreview() {
    m_previewLabel->setAlpha(0.0);
    m_previewBackground->setAlpha(0.0);
    m_previewBackground->moveFrameHeight(-previewGrowth);
    m_colorPickerDayView->setHidden(true);
    m_colorPickerDayView->setFrameHeight(0.0);
    for (View* moving :
         {static_cast<View*>(m_speechBalloon.get()), static_cast<View*>(m_hueSlider.get()),
          static_cast<View*>(m_saturationSlider.get()), static_cast<View*>(m_brightnessSlider.get())}) {
        moving->moveFrameY(-previewGrowth);
    }
}

void ColorPickerViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    if (m_previewOpened) {
        return;
    }
    m_previewOpened = true;
    m_colorPickerDayView->setHidden(false);
    const std::weak_ptr<ColorPickerViewController> weakSelf =
        std::static_pointer_cast<ColorPickerViewController>(shared_from_this());
    View::animate(previewOpeningDuration, [weakSelf] {
        const auto self = weakSelf.lock();
        if (!self) {
            return;
        }
        self->m_previewLabel->setAlpha(1.0);
        self->m_previewBackground->setAlpha(1.0);
        self->m_previewBackground->moveFrameHeight(previewGrowth);
        self->m_colorPickerDayView->setFrameHeight(sampleDayFrame.height());
        for (View* moving :
             {static_cast<View*>(self->m_speechBalloon.get()), static_cast<View*>(self->m_hueSlider.get()),
              static_cast<View*>(self->m_saturationSlider.get()),
              static_cast<View*>(self->m_brightnessSlider.get())}) {
            moving->moveFrameY(previewGrowth);
        }
    });
}

void ColorPickerViewController::applyColorFromSliders(const Slider* movedSlider) {
    const HsbColor hsb(static_cast<float>(m_hueSlider->value()),
                       static_cast<float>(m_saturationSlider->value()),
                       static_cast<float>(m_brightnessSlider->value()));
    m_color = hsb.color();
    m_colorPickerDayView->setColor(m_color);
    const std::pair<ColorSlider*, ColorRenderer*> sliders[] = {
        {m_hueSlider.get(), m_hueRenderer.get()},
        {m_saturationSlider.get(), m_saturationRenderer.get()},
        {m_brightnessSlider.get(), m_brightnessRenderer.get()}};
    for (const auto& [slider, renderer] : sliders) {
        if (slider == movedSlider) {
            continue;
        }
        renderer->hsbColor = hsb.copy();
        slider->reloadTrackImage();
    }
}

void ColorPickerViewController::sliderChanged(Slider& slider) {
    m_slidersMoved = true;
    applyColorFromSliders(&slider);
}

void ColorPickerViewController::doneButtonPressed() {
    // Untouched sliders stand for the colour the picker opened with; reporting their rounded
    // reading would turn a named colour into a near-equal custom one.
    if (m_delegate && m_slidersMoved) {
        m_delegate->colorPicked(m_color);
    }
    if (const auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

void ColorPickerViewController::cancelButtonPressed() {
    if (const auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}
