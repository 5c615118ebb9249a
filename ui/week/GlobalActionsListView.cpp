#include "ui/week/GlobalActionsListView.h"

#include "foundation/Localization.h"
#include "kit/Application.h"
#include "kit/Artwork.h"
#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Label.h"
#include "kit/Screen.h"
#include "kit/TapGestureRecognizer.h"
#include "kit/Window.h"
#include "ui/week/GlobalActionsListViewDelegate.h"
#include "ui/week/MenuArtwork.h"

namespace {

constexpr double menuButtonX = 20.0;
constexpr double menuButtonWidth = 178.0;
constexpr double menuButtonHeight = 35.0;
constexpr double menuButtonSpacing = 6.0;

} // namespace

GlobalActionsListView::Button::Button(const Rect& frame, const QString& title, const QString& iconName)
    : ::Button(frame) {
    setBackgroundImage(Artwork::imageNamed(QStringLiteral("menu-button")).stretchableImage(5, 0),
                       ControlState::Normal);
    setBackgroundImage(Artwork::imageNamed(QStringLiteral("menu-button-hightlight")).stretchableImage(5, 0),
                       ControlState::Highlighted);
    setImage(Artwork::imageNamed(iconName));
    setTitle(title);
    titleLabel().setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 16));
    setTitleColor(Color(0, 0, 0), ControlState::Normal);
    setTitleColor(Color(1, 1, 1), ControlState::Highlighted);
    setTitleShadowColor(Color(0, 0, 0, 0), ControlState::Normal);
    setTitleShadowColor(Color(0, 0, 0), ControlState::Highlighted);
    titleLabel().setShadowOffset(Size(0, -1));
    setImageEdgeInsets(EdgeInsets(0, 4, 0, 4));
    setTitleEdgeInsets(EdgeInsets(0, 10, 0, 0));
    setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
    setAdjustsImageWhenHighlighted(false);
}

GlobalActionsListView::GlobalActionsListView(bool landscape)
    : View(landscape ? Rect(273, 40, 216, 28) : Rect(112, 49, 216, 28)),
      m_invisibleView(std::make_shared<View>(landscape ? Rect(0, 0, 480, 320) : Rect(0, 0, 320, 480))) {
    MenuArtwork::registerImages();
    setHidden(true);
}

std::shared_ptr<GlobalActionsListView> GlobalActionsListView::initForOrientation(bool landscape) {
    auto menu = std::make_shared<GlobalActionsListView>(landscape);
    menu->addButton(localizedString(QStringLiteral("Calendars")), Action::Calendars,
                    QStringLiteral("menu-calendaricon"));
    menu->addButton(localizedString(QStringLiteral("Jump to Week")), Action::JumpToWeek,
                    QStringLiteral("menu-jumpicon"));
    if (!landscape) {
        menu->addButton(localizedString(QStringLiteral("Search")), Action::Search,
                        QStringLiteral("menu-searchicon"));
        menu->addButton(localizedString(QStringLiteral("Settings")), Action::Settings,
                        QStringLiteral("menu-settingsicon"));
    }
    menu->moveFrameHeight(Screen::main().scale() == 2.0 ? 18.5 : 19.0);
    return menu;
}

GlobalActionsListView::~GlobalActionsListView() = default;

std::weak_ptr<GlobalActionsListView> GlobalActionsListView::weakSelf() {
    return std::static_pointer_cast<GlobalActionsListView>(shared_from_this());
}

void GlobalActionsListView::addButton(const QString& title, Action action, const QString& iconName) {
    auto button = std::make_shared<Button>(
        Rect(menuButtonX, frame().height(), menuButtonWidth, menuButtonHeight), title, iconName);
    const std::weak_ptr<GlobalActionsListView> weak = weakSelf();
    button->onTouchUpInside = [weak, action] {
        if (auto self = weak.lock()) {
            self->openAction(action);
        }
    };
    addSubview(button);
    m_buttons.push_back(button);
    moveFrameHeight(menuButtonHeight + menuButtonSpacing);
}

void GlobalActionsListView::openAction(Action action) {
    // The delegate may drop the menu; it stays alive until it has faded out.
    const std::shared_ptr<View> keepAlive = shared_from_this();
    if (const std::shared_ptr<GlobalActionsListViewDelegate> delegate = m_delegate.lock()) {
        delegate->clickedButtonAtIndex(static_cast<int>(action));
    }
    hide();
}

void GlobalActionsListView::show() {
    Application* application = Application::shared();
    Window* window = application != nullptr ? application->keyWindow() : nullptr;
    if (window == nullptr || window->subviews().empty()) {
        return;
    }
    if (m_invisibleView->gestureRecognizers().empty()) {
        auto tap = std::make_shared<TapGestureRecognizer>();
        const std::weak_ptr<GlobalActionsListView> weak = weakSelf();
        tap->onAction = [weak](GestureRecognizer&) {
            if (auto self = weak.lock()) {
                self->hide();
            }
        };
        m_invisibleView->addGestureRecognizer(tap);
    }
    setHidden(false);
    const std::shared_ptr<View>& content = window->subviews().front();
    content->addSubview(m_invisibleView);
    content->addSubview(shared_from_this());
}

void GlobalActionsListView::hide() {
    const std::weak_ptr<GlobalActionsListView> weak = weakSelf();
    View::animate(
        fadeOutDuration,
        [weak] {
            if (auto self = weak.lock()) {
                self->setAlpha(0);
            }
        },
        [weak](bool) {
            if (auto self = weak.lock()) {
                self->setAlpha(1);
                self->setHidden(true);
                self->removeFromSuperview();
                self->m_invisibleView->removeFromSuperview();
            }
        });
}

void GlobalActionsListView::drawRect(GraphicsContext& context, const Rect&) {
    context.drawImage(Artwork::imageNamed(QStringLiteral("menu-bg")).stretchableImage(29, 43), bounds());
}
