#pragma once

#include "kit/Size.h"
#include "kit/View.h"
#include "kit/Window.h"

#include <QString>

#include <memory>

class NavigationController;
class NavigationItem;
class PopoverController;

// The controller of one screen: it makes its view when the view is first asked for, hears
// when the screen appears, disappears and turns, and can cover the whole window with another
// screen (modal presentation). Controllers are held by std::shared_ptr (make them with
// std::make_shared); links to a controller's container and to the screen that presented it are
// weak, the presenter owns the screen it presented.
//
// As the root of a window, a controller is installed with installAsRootViewController: its
// view becomes the window's content, and the window's rotation reports go to the front-most
// screen presented over it (a navigation controller passes them on to its top screen).
// Main thread only.
class ViewController : public RotationHandler, public std::enable_shared_from_this<ViewController> {
public:
    ViewController();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The view, made by the `loadView` hook (then `viewDidLoad` runs) when first asked for.
    const std::shared_ptr<View>& view();
    bool isViewLoaded() const { return m_view != nullptr; }
    // Replaces the view without loading; an empty pointer releases it (without viewDidUnload).
    void setView(std::shared_ptr<View> view);

    const QString& title() const { return m_title; }
    // Also the title of the navigation item.
    void setTitle(const QString& title);
    // The item a navigation bar shows while this screen is on top, made on first use.
    const std::shared_ptr<NavigationItem>& navigationItem();

    // The nearest navigation controller holding this screen, or none.
    std::shared_ptr<NavigationController> navigationController() const;
    // The container holding this screen, else the screen that presented it.
    std::shared_ptr<ViewController> parentViewController() const;
    // The screen presented over this one (or over the container it is in), or none.
    std::shared_ptr<ViewController> modalViewController() const;
    // The screen that presented this one (or the container it is in), or none.
    std::shared_ptr<ViewController> presentingViewController() const;

    // The orientation of the window showing the view; portrait while it is in none.
    int interfaceOrientation() const;
    // The size a popover gives the view; 320 × 1100 unless set. A popover showing the screen
    // (alone or in its navigation controller) takes a new size at once.
    virtual Size contentSizeForViewInPopover() const { return m_contentSizeForViewInPopover; }
    void setContentSizeForViewInPopover(Size size);
    // Sets the size for popovers a point narrower and shorter than it is, so that the popover
    // showing the screen lays itself out again; the size the screen sets next applies.
    void forcePopoverSize();
    // The popover whose content is this screen or the navigation controller holding it, or none.
    std::shared_ptr<PopoverController> popoverController() const;

    // Covers the window's content with the screen's view, sliding it up from the bottom when
    // animated. The presentation starts from the outermost container of this screen; a screen
    // that already presents one keeps it and ignores the new one, as does a screen already
    // presented somewhere.
    void presentModalViewController(const std::shared_ptr<ViewController>& viewController, bool animated);
    // On the presenter: removes the screen it presented (and any presented over that one),
    // sliding it down when animated. On a presented screen without a screen of its own over
    // it: asks its presenter to remove it.
    void dismissModalViewControllerAnimated(bool animated);
    static constexpr double modalTransitionDuration = 0.3;

    // Appearance calls for containers and presenters: the will-hook runs at the beginning and
    // the did-hook at the end, passed on to the screens a container shows. A call that would
    // repeat the current state is ignored.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    // Whether the screen is appearing or shown (between will-appear and will-disappear).
    bool isAppearingOrVisible() const;

    // Shows the view as the window's content and sends the window's rotation reports to this
    // screen (or the screens over it), then tells it that it appeared. The window keeps a plain
    // pointer, so the controller must live as long as it is the window's root.
    void installAsRootViewController(Window& window);

    // Tells every live controller of the process about a memory shortage.
    static void sendMemoryWarningToAll();

    // Appearance hooks, empty by default. Screens call them on screens they show themselves.
    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);
    // Releases the view when it is not in a view tree and then calls viewDidUnload; overrides
    // that free more call this one.
    virtual void didReceiveMemoryWarning();

    // Rotation hooks (by default only portrait is allowed).
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;
    void willRotateToInterfaceOrientation(int orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;

    // Typing from the computer's keyboard that no view used: offered to the front-most screen
    // presented over this one (a navigation controller passes it on to its top screen). The root
    // screen of a window hears all such typing. Returns whether it was used.
    bool handleKeyInput(const KeyInput& input);

protected:
    // The screen's own keys; by default none.
    virtual bool handleScreenKeyInput(const KeyInput& input);
    // Makes the view and sets it with setView; by default a plain view of the application
    // frame's size.
    virtual void loadView();
    virtual void viewDidLoad();
    virtual void viewDidUnload();
    // The screens that hear this screen's appearance calls with it (a container's visible one).
    virtual std::vector<std::shared_ptr<ViewController>> childViewControllersForAppearance() const;

private:
    friend class NavigationController;
    friend class PopoverController;
    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };
    class WindowRotationRouter;

    // The outermost container of this screen (itself when it is in none).
    std::shared_ptr<ViewController> presentationContext();
    // The window or the root of the view tree the presentation context shows in.
    std::shared_ptr<View> hostViewForPresentation();
    // The front-most screen presented over this one, or this one.
    ViewController& frontmostPresentedViewController();
    void finishModalTransition();

    std::shared_ptr<View> m_view;
    QString m_title;
    std::shared_ptr<NavigationItem> m_navigationItem;
    std::weak_ptr<ViewController> m_container;
    std::weak_ptr<NavigationController> m_navigationController;
    std::weak_ptr<ViewController> m_presentingViewController;
    std::shared_ptr<ViewController> m_modalViewController;
    Size m_contentSizeForViewInPopover{320.0, 1100.0};
    // Set by the popover while this screen is its content.
    std::weak_ptr<PopoverController> m_popoverController;
    Appearance m_appearance = Appearance::Disappeared;
    bool m_appearanceAnimated = false;
    bool m_loadingView = false;
    std::vector<std::shared_ptr<ViewController>> m_appearanceChildren;
    std::unique_ptr<WindowRotationRouter> m_rotationRouter;
    // The presentation or dismissal under way, finished early when another one starts.
    std::function<void()> m_finishModalTransition;
    int m_modalTransitionCount = 0;
};
