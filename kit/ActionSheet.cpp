#include "kit/ActionSheet.h"

#include "kit/ActionSheetDelegate.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/PopoverController.h"
#include "kit/PopoverView.h"
#include "kit/RoundedRectangle.h"
#include "kit/Screen.h"
#include "kit/StringDrawing.h"

void ActionSheetDelegate::clickedButtonAtIndex(ActionSheet&, int) {}
void ActionSheetDelegate::willDismissWithButtonIndex(ActionSheet&, int) {}
void ActionSheetDelegate::didDismissWithButtonIndex(ActionSheet&, int) {}

namespace {

constexpr double sheetButtonHeight = 44.0;
constexpr double sheetButtonSpacing = 8.0;
constexpr double cancelGap = 8.0;
constexpr double phoneButtonInset = 20.0;
constexpr double popoverButtonInset = 0.0;
constexpr double popoverWidth = 272.0;
constexpr double titleTopMargin = 12.0;
constexpr double sheetTitleGap = 12.0;
constexpr double sheetTopMargin = 17.0;
constexpr double sheetBottomMargin = 17.0;

enum class Face { Plain, Destructive, Cancel };

Image buttonImage(Face face, bool highlighted) {
    const Size size(31, sheetButtonHeight);
    Color top;
    Color bottom;
    Color rim(0, 0, 0, 0.55);
    if (highlighted) {
        top = Color::fromRgb255(60, 130, 240);
        bottom = Color::fromRgb255(10, 70, 200);
    } else if (face == Face::Destructive) {
        top = Color::fromRgb255(236, 82, 82);
        bottom = Color::fromRgb255(190, 20, 20);
    } else if (face == Face::Cancel) {
        top = Color::fromRgb255(92, 92, 96);
        bottom = Color::fromRgb255(28, 28, 32);
    } else {
        top = Color::fromRgb255(255, 255, 255);
        bottom = Color::fromRgb255(222, 222, 226);
    }
    return Image::draw(
               size, Screen::main().scale(),
               [&](GraphicsContext& context) {
                   const Rect body = Rect(Point(), size).inset(0.5, 1.0);
                   // A faint light edge below the button, as if set into the sheet.
                   context.setStrokeColor(Color(1, 1, 1, 0.18));
                   RoundedRectangle(body.offset(0, 0.8), 9.0).drawRoundedRectPath(context);
                   context.strokePath();
                   context.saveGState();
                   RoundedRectangle(body, 9.0).drawRoundedRectPath(context);
                   context.clip();
                   const Color middle((top.red() + bottom.red()) / 2, (top.green() + bottom.green()) / 2,
                                      (top.blue() + bottom.blue()) / 2);
                   context.drawLinearGradient({{0.0, top}, {0.5, middle}, {0.5, bottom}, {1.0, bottom}},
                                              Point(0, body.minY()), Point(0, body.maxY()));
                   // The gloss on the upper half.
                   context.setFillColor(Color(1, 1, 1, face == Face::Plain && !highlighted ? 0.0 : 0.14));
                   context.fillRect(Rect(body.x(), body.y(), body.width(), body.height() / 2));
                   context.restoreGState();
                   context.setLineWidth(1.0);
                   context.setStrokeColor(rim);
                   RoundedRectangle(body, 9.0).drawRoundedRectPath(context);
                   context.strokePath();
               })
        .stretchableImage(15, 22);
}

} // namespace

ActionSheet::ActionSheet(const QString& title, const std::shared_ptr<ActionSheetDelegate>& delegate,
                         const QString& cancelButtonTitle, const QString& destructiveButtonTitle,
                         const QStringList& otherButtonTitles)
    : m_delegate(delegate) {
    titleLabel().setText(title);
    titleLabel().setFont(Font::systemFontOfSize(13));
    titleLabel().setTextAlignment(TextAlignment::Center);
    titleLabel().setNumberOfLines(0);
    titleLabel().setShadowOffset(Size(0, -1));
    if (!destructiveButtonTitle.isEmpty()) {
        m_destructiveButtonIndex = addButtonWithTitle(destructiveButtonTitle);
    }
    for (const QString& other : otherButtonTitles) {
        addButtonWithTitle(other);
    }
    if (!cancelButtonTitle.isEmpty()) {
        setCancelButtonIndex(addButtonWithTitle(cancelButtonTitle));
    }
}

ActionSheet::~ActionSheet() = default;

void ActionSheet::setActionSheetStyle(Style style) {
    m_actionSheetStyle = style;
    setNeedsDisplay();
}

void ActionSheet::setDestructiveButtonIndex(int buttonIndex) {
    m_destructiveButtonIndex = validButtonIndexOrNone(buttonIndex);
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int index = 0; index < numberOfButtons(); ++index) {
        if (index != cancelButtonIndex() && index != m_destructiveButtonIndex) {
            return index;
        }
    }
    return -1;
}

std::shared_ptr<ActionSheet> ActionSheet::self() {
    return std::static_pointer_cast<ActionSheet>(shared_from_this());
}

void ActionSheet::buildButtons() {
    titleLabel().setTextColor(m_inPopover ? Color(0.85, 0.87, 0.9) : Color(1, 1, 1));
    titleLabel().setShadowColor(Color(0, 0, 0, 0.6));
    rebuildButtons();
}

std::shared_ptr<Button> ActionSheet::makeButton(int buttonIndex) {
    // In a popover a touch outside stands for the cancel button, which is left out.
    if (m_inPopover && buttonIndex == cancelButtonIndex()) {
        return nullptr;
    }
    const Face face = buttonIndex == m_destructiveButtonIndex ? Face::Destructive
                      : buttonIndex == cancelButtonIndex()    ? Face::Cancel
                                                              : Face::Plain;
    auto button = std::make_shared<Button>();
    button->setTitle(buttonTitleAtIndex(buttonIndex));
    button->titleLabel().setFont(Font::boldSystemFontOfSize(19));
    if (face == Face::Plain) {
        button->setTitleColor(Color(0.1, 0.1, 0.1));
        button->setTitleShadowColor(Color(1, 1, 1, 0.8));
        button->titleLabel().setShadowOffset(Size(0, 1));
    } else {
        button->setTitleColor(Color(1, 1, 1));
        button->setTitleShadowColor(Color(0, 0, 0, 0.5));
        button->titleLabel().setShadowOffset(Size(0, -1));
    }
    button->setTitleColor(Color(1, 1, 1), ControlState::Highlighted);
    button->setTitleShadowColor(Color(0, 0, 0, 0.5), ControlState::Highlighted);
    button->setBackgroundImage(buttonImage(face, false));
    button->setBackgroundImage(buttonImage(face, true), ControlState::Highlighted);
    return button;
}

double ActionSheet::layoutForWidth(double width) {
    const double inset = m_inPopover ? popoverButtonInset : phoneButtonInset;
    const double buttonWidth = width - 2 * inset;
    double y = m_inPopover ? 0.0 : sheetTopMargin;
    if (!titleLabel().text().isEmpty()) {
        y = m_inPopover ? 4.0 : titleTopMargin;
        const Size size = StringDrawing::sizeWithFont(titleLabel().text(), titleLabel().font(),
                                                      Size(buttonWidth, 0), LineBreakMode::WordWrap);
        titleLabel().setFrame(Rect(inset, y, buttonWidth, size.height()));
        y += size.height() + sheetTitleGap;
    } else {
        titleLabel().setFrame(Rect(inset, y, buttonWidth, 0));
    }
    bool first = true;
    for (int index = 0; index < static_cast<int>(buttons().size()); ++index) {
        const auto& button = buttons()[static_cast<std::size_t>(index)];
        if (!button) {
            continue;
        }
        if (!first) {
            y += sheetButtonSpacing;
            if (index == cancelButtonIndex() && index == numberOfButtons() - 1) {
                y += cancelGap;
            }
        }
        first = false;
        button->setFrame(Rect(inset, y, buttonWidth, sheetButtonHeight));
        y += sheetButtonHeight;
    }
    return y + (m_inPopover ? 0.0 : sheetBottomMargin);
}

void ActionSheet::layoutSubviews() {
    layoutForWidth(bounds().width());
}

void ActionSheet::drawRect(GraphicsContext& context, const Rect&) {
    if (m_inPopover) {
        return;
    }
    const Rect area = bounds();
    const double opacity = m_actionSheetStyle == Style::BlackOpaque ? 1.0 : 0.8;
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient({{0.0, Color(0.28, 0.28, 0.3, opacity)},
                                {0.5 * 44.0 / area.height(), Color(0.1, 0.1, 0.12, opacity)},
                                {1.0, Color(0.0, 0.0, 0.0, opacity)}},
                               Point(0, area.minY()), Point(0, area.maxY()));
    context.restoreGState();
    context.setFillColor(Color(0, 0, 0, 0.9));
    context.fillRect(Rect(area.x(), area.y(), area.width(), 1));
    context.setFillColor(Color(1, 1, 1, 0.28));
    context.fillRect(Rect(area.x(), area.y() + 1, area.width(), 1));
}

void ActionSheet::showInView(View& view) {
    if (isVisible()) {
        return;
    }
    if (Screen::main().isTablet()) {
        // The tablet shows the sheet as a box without an arrow in the middle of the view.
        showInPopover(view.bounds(), view, PopoverArrowDirections(), false, false);
        return;
    }
    const auto window = view.rootView();
    m_inPopover = false;
    beginPresentation();
    buildButtons();
    const Rect bounds = window->bounds();
    const double height = layoutForWidth(bounds.width());
    coverWindow(*window, DimmingView::Style::Uniform);
    setAlpha(1.0);
    setFrame(Rect(0, bounds.height(), bounds.width(), height));
    layoutIfNeeded();
    dimmingView()->setAlpha(0.0);
    View::animate(slideDuration, [this, bounds, height] {
        dimmingView()->setAlpha(1.0);
        setFrame(Rect(0, bounds.height() - height, bounds.width(), height));
    });
}

void ActionSheet::showFromRect(const Rect& rect, View& view, bool animated) {
    if (!Screen::main().isTablet()) {
        showInView(view);
        return;
    }
    showInPopover(rect, view, PopoverArrowDirection::any, false, animated);
}

void ActionSheet::showFromBarButtonItem(const Rect& itemFrame, View& bar, bool animated) {
    if (!Screen::main().isTablet()) {
        showInView(bar);
        return;
    }
    showInPopover(itemFrame, bar, PopoverArrowDirection::any, true, animated);
}

void ActionSheet::showFromBarButtonItem(BarButtonItem& item, bool animated) {
    const auto view = item.view();
    if (const auto bar = view->superview()) {
        showFromBarButtonItem(view->frame(), *bar, animated);
    }
}

void ActionSheet::showInPopover(const Rect& rect, View& view, PopoverArrowDirections directions,
                                bool fromBarButtonItem, bool animated) {
    if (isVisible()) {
        return;
    }
    m_inPopover = true;
    beginPresentation();
    buildButtons();
    const double height = layoutForWidth(popoverWidth);
    setFrame(Rect(0, 0, popoverWidth, height));
    setAlpha(1.0);
    m_popoverController = std::make_shared<PopoverController>(self());
    // The sheet is the popover's delegate through its private base, for as long as it lives.
    m_popoverController->setDelegate(
        std::shared_ptr<PopoverControllerDelegate>(self(), static_cast<PopoverControllerDelegate*>(this)));
    m_popoverController->setPopoverContentSize(Size(popoverWidth, height));
    if (fromBarButtonItem) {
        m_popoverController->presentPopoverFromBarButtonItem(rect, view, directions, animated);
    } else {
        m_popoverController->presentPopoverFromRect(rect, view, directions, animated);
    }
}

bool ActionSheet::popoverControllerShouldDismissPopover(PopoverController&) {
    // A touch outside is the cancel button; the sheet goes through its own dismissal.
    buttonTapped(cancelButtonIndex());
    return false;
}

void ActionSheet::popoverControllerDidDismissPopover(PopoverController&) {}

void ActionSheet::animateDismissal(std::function<void(bool)> completion) {
    if (m_inPopover) {
        m_popoverController->popoverView()->setUserInteractionEnabled(false);
        View::animate(
            0.2, 0.0, AnimationCurve::easeIn, AnimationOption::none,
            [popoverView = m_popoverController->popoverView()] { popoverView->setAlpha(0.0); },
            std::move(completion));
        return;
    }
    dimmingView()->setUserInteractionEnabled(false);
    const Rect frame = this->frame();
    const double bottom = dimmingView()->bounds().height();
    View::animate(
        slideDuration, 0.0, AnimationCurve::easeInOut, AnimationOption::none,
        [this, frame, bottom] {
            dimmingView()->setAlpha(0.0);
            setFrame(Rect(frame.x(), bottom, frame.width(), frame.height()));
        },
        std::move(completion));
}

void ActionSheet::leaveScreen() {
    if (m_popoverController) {
        m_popoverController->dismissPopoverAnimated(false);
        m_popoverController.reset();
    }
}

void ActionSheet::buttonClicked(int buttonIndex) {
    if (const std::shared_ptr<ActionSheetDelegate> reportTo = delegate()) {
        reportTo->clickedButtonAtIndex(*this, buttonIndex);
    }
}

void ActionSheet::willDismiss(int buttonIndex) {
    if (const std::shared_ptr<ActionSheetDelegate> reportTo = delegate()) {
        reportTo->willDismissWithButtonIndex(*this, buttonIndex);
    }
}

void ActionSheet::didDismiss(int buttonIndex) {
    if (const std::shared_ptr<ActionSheetDelegate> reportTo = delegate()) {
        reportTo->didDismissWithButtonIndex(*this, buttonIndex);
    }
}
