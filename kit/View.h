#pragma once

#include "foundation/Color.h"
#include "kit/Accessibility.h"
#include "kit/AffineTransform.h"
#include "kit/AnimationOptions.h"
#include "kit/Image.h"
#include "kit/Point.h"
#include "kit/Rect.h"
#include "kit/Size.h"
#include "kit/TimingFunction.h"
#include "kit/Touch.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class GestureRecognizer;
class GraphicsContext;
struct KeyInput;
class Window;
class TouchEvent;
class Layer;

// A rectangular area of the screen in a tree of views. A view keeps its geometry as the platform
// does: `bounds` (its own coordinate system: origin and size), `center` (its position in the
// superview's coordinates) and `transform` (applied around the centre); `frame` is derived
// from them. Subviews are drawn in order, so the last one is in front.
//
// Views are always held by std::shared_ptr (make them with std::make_shared); a view owns
// its subviews and sees its superview through a weak link.
class View : public std::enable_shared_from_this<View> {
public:
    View();
    explicit View(const Rect& frame);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The bounding box of the transformed bounds in the superview's coordinates. Setting
    // it moves the centre and resizes the bounds; with a non-identity transform, set the
    // centre and bounds instead.
    Rect frame() const;
    void setFrame(const Rect& frame);
    Rect bounds() const { return m_bounds; }
    void setBounds(const Rect& bounds);
    Point center() const { return m_center; }
    void setCenter(Point center);
    AffineTransform transform() const { return m_transform; }
    void setTransform(const AffineTransform& transform);

    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    // With group opacity a view below full alpha and its subviews are drawn as one picture that
    // is then faded, so that they do not show through each other; without it, the default, each
    // drawing is faded on its own.
    bool allowsGroupOpacity() const { return m_allowsGroupOpacity; }
    void setAllowsGroupOpacity(bool allows) { m_allowsGroupOpacity = allows; }
    bool hidden() const { return m_hidden; }
    void setHidden(bool hidden);
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips);
    const std::optional<Color>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::optional<Color> color);
    bool userInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    bool exclusiveTouch() const { return m_exclusiveTouch; }
    void setExclusiveTouch(bool exclusive) { m_exclusiveTouch = exclusive; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // The tree.
    std::shared_ptr<View> superview() const { return m_superview.lock(); }
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    // Adds in front of the other subviews. A view of another superview leaves it first; a
    // subview of this view moves to the front. Adding this view or one of its ancestors is
    // ignored, as it would make a cycle.
    void addSubview(const std::shared_ptr<View>& view);
    // Inserts at `index` among the subviews (clamped to the end).
    void insertSubview(const std::shared_ptr<View>& view, std::size_t index);
    // Inserts just behind or just in front of `sibling`; at the front when `sibling` is not
    // a subview of this view.
    void insertSubviewBelow(const std::shared_ptr<View>& view, const View& sibling);
    void insertSubviewAbove(const std::shared_ptr<View>& view, const View& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const View& subview);
    void sendSubviewToBack(const View& subview);
    // True for this view itself and every view below it.
    bool isDescendantOfView(const View& view) const;
    // The first view of this subtree (this view included, depth first) with the tag.
    std::shared_ptr<View> viewWithTag(int tag);
    // The topmost superview, or this view when it has none.
    std::shared_ptr<View> rootView();

    // Coordinate conversion between the bounds of this view and those of `view`; without a
    // view, the coordinates of the root of this view's tree. Both views must share a root.
    Point convertPointToView(Point point, const View* view) const;
    Point convertPointFromView(Point point, const View* view) const;
    Rect convertRectToView(const Rect& rect, const View* view) const;
    Rect convertRectFromView(const Rect& rect, const View* view) const;

    // The front-most view of this subtree under the point (in this view's bounds), or none.
    // Hidden views, views with alpha below 0.01 and views not taking interaction are skipped
    // with their subviews; the rest are asked through the `hitTestView` hook.
    std::shared_ptr<View> hitTest(Point point);
    // Whether the point (in this view's bounds) counts as inside, through `isPointInside`.
    bool pointInside(Point point) const;

    // Layout: a change of the bounds size marks the view; layoutIfNeeded then runs the
    // `layoutSubviews` hook of every marked view of the subtree, top down.
    void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    void layoutIfNeeded();

    // Display: the view's drawing is asked for again; the flag clears when it is drawn.
    void setNeedsDisplay();
    bool needsDisplay() const { return m_needsDisplay; }
    // True when something in this subtree changed how it shows (a drawing asked for, geometry,
    // transform, alpha, visibility, clipping or order) since it was last drawn, so that the
    // owner of a root view knows when to draw again. Every such change, and every request for
    // layout, is also reported to the root of the tree through `rootNeedsDisplay`.
    bool subtreeNeedsDisplay() const { return m_subtreeNeedsDisplay; }

    // The size that fits the content within `size`, through the `fittingSize` hook (by default
    // the current size); sizeToFit applies it and keeps the origin.
    Size sizeThatFits(Size size) const;
    void sizeToFit();

    // Frame helpers: `set` replaces one component of the frame, `move` adds to it.
    void setFrameX(double x);
    void setFrameY(double y);
    void setFrameWidth(double width);
    void setFrameHeight(double height);
    void moveFrameX(double dx);
    void moveFrameY(double dy);
    void moveFrameWidth(double dw);
    void moveFrameHeight(double dh);
    void setFrameOrigin(Point origin);
    void setFrameSize(Size size);
    // Fits the view to its content but keeps its height.
    void sizeToFitWidth();
    // Puts the subview's y at half this view's height minus half the subview's height.
    void centerSubViewVertically(View& subview) const;

    // Touches. The router calls deliverTouches with the touches of this view, which passes
    // them to the hook of their phase. While an exclusive-touch view (or a view inside it)
    // tracks a touch, touches elsewhere are not delivered, and it gets none while one is
    // tracked elsewhere. A view that is not multipleTouchEnabled (the default) gets only its
    // first touch; its recognisers still see the others.
    void deliverTouches(TouchPhase phase, const TouchSet& touches, const TouchEvent& event);
    bool multipleTouchEnabled() const { return m_multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool enabled) { m_multipleTouchEnabled = enabled; }
    // The recognisers see the touches of this view and of the views inside it before they do.
    // Adding one that belongs to another view moves it here.
    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer);
    void removeGestureRecognizer(const GestureRecognizer& recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const {
        return m_gestureRecognizers;
    }

    // Draws the view and its subtree into the context, in this view's bounds coordinates:
    // background colour, the `drawRect` hook, then each visible subview placed by its centre,
    // bounds origin and transform, with its alpha and clipping, all as presented while they
    // animate. A hidden view draws nothing.
    // Alpha multiplies down the tree and applies to each view's drawing on its own (no
    // off-screen group), which keeps a frame cheap; overlapping subviews of a translucent
    // view therefore show through each other.
    void drawHierarchy(GraphicsContext& context);
    // Lays out and draws the subtree into a new image of the bounds' size at the screen scale.
    Image renderToImage(double scale = 2.0);
    bool savePng(const QString& path, double scale = 2.0);

    // Animations. A change made inside `changes` to the frame, bounds, centre, alpha,
    // transform, background colour or a custom layer property shows at once in the getters
    // (the model value), while what is drawn (the presentation value) goes from the old value
    // to the new one over `duration` seconds, after `delay`, along `curve`. The animations
    // start when `changes` returns, from the clock of the main run loop.
    //
    // `completion` runs once, on the main thread, when the last animation of the block has
    // ended: with true when all of them ran to their end, with false when one was removed or
    // replaced first (then on the next turn of the run loop). A new animation of a property
    // replaces the running one of that property (which then completes with false), and a change
    // made outside any block removes it; the value shown then jumps to the model value. A block
    // that animates nothing (no changes, or no duration and no delay) applies its changes at
    // once and completes with true on the next turn of the run loop. Blocks may nest; each
    // animates its own changes with its own parameters.
    static void animate(double duration, double delay, AnimationCurve curve, AnimationOptions options,
                        const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {});
    // Ease-in-out, no delay, no options.
    static void animate(double duration, const std::function<void()>& changes,
                        std::function<void(bool finished)> completion = {});
    // Applies the changes at once, even inside an animation block.
    static void performWithoutAnimation(const std::function<void()>& changes);
    Layer& layer() { return *m_layer; }
    const Layer& layer() const { return *m_layer; }
    // What is drawn now; the model values while nothing animates.
    Point presentationCenter() const;
    Rect presentationBounds() const;
    Rect presentationFrame() const;
    AffineTransform presentationTransform() const;
    double presentationAlpha() const;
    std::optional<Color> presentationBackgroundColor() const;
    // True while an animation of a block without AnimationOption::allowUserInteraction runs
    // on this view (its delay included). Touches are not given to such a view: hitTest
    // skips it with its subviews.
    bool isInteractionBlockedByAnimation() const;
    // Removes every animation of this view (their completions get false).
    void removeAllAnimations();

    // Responders. A window has at most one first responder, the view that receives typing
    // (and, for a text field, the on-screen keyboard). Becoming first responder asks the view
    // (`canBecomeFirstResponder`, false by default) and the current first responder
    // (`canResignFirstResponder`); a view outside a window cannot become first responder. A
    // first responder taken out of its window stops being one.
    virtual bool canBecomeFirstResponder();
    virtual bool canResignFirstResponder();
    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    // Whether the view offers an action of the edit menu ("cut", "copy", "paste", "select",
    // "selectAll" or a custom one); by default none.
    virtual bool canPerformAction(const QString& action);
    // The window at the root of this view's tree, or null.
    Window* window() const;
    // Whether the view is in a window and neither it nor a view it lies in is hidden or (all
    // but) transparent: what a finger, the keyboard or a screen reader can reach.
    bool isShowing() const;

    // Accessibility: what a screen reader is told about this view, through the
    // `describeAccessibility` hook (by default nothing: the view only holds its subviews).
    AccessibilityDescription accessibilityDescription() const;
    // Whether this view and everything inside it stay out of the screen reader's sight (parts
    // that an enclosing element already names).
    bool accessibilityElementsHidden() const { return m_accessibilityElementsHidden; }
    void setAccessibilityElementsHidden(bool hidden) { m_accessibilityElementsHidden = hidden; }
    // Tells the screen reader of a change of this view, through the view's window.
    void postAccessibilityNotification(AccessibilityNotification notification);

protected:
    // Draws the view's own content; `rect` is the area to draw, in bounds coordinates.
    virtual void drawRect(GraphicsContext& context, const Rect& rect);
    // The area drawRect may cover, in bounds coordinates: the bounds, unless the view draws
    // beyond them (a shadow) without clipping.
    virtual Rect drawingBounds() const;
    virtual void layoutSubviews();
    // The hit-testing hook: by default this view or its front-most hit subview when the point
    // is inside, else none.
    virtual std::shared_ptr<View> hitTestView(Point point);
    // By default, whether the bounds contain the point, whatever the clipping.
    virtual bool isPointInside(Point point) const;
    virtual Size fittingSize(Size size) const;
    virtual void didAddSubview(View& subview);
    virtual void willRemoveSubview(View& subview);
    virtual void didMoveToSuperview();
    // Called on the root of the tree whenever a view in it asks to be laid out or drawn again.
    virtual void rootNeedsDisplay();
    // Touch hooks; by default each passes the touches on to the superview.
    virtual void touchesBegan(const TouchSet& touches, const TouchEvent& event);
    virtual void touchesMoved(const TouchSet& touches, const TouchEvent& event);
    virtual void touchesEnded(const TouchSet& touches, const TouchEvent& event);
    virtual void touchesCancelled(const TouchSet& touches, const TouchEvent& event);
    // Responder hooks, called by the window after the change.
    virtual void didBecomeFirstResponder();
    virtual void didResignFirstResponder();
    // Typing from the computer's keyboard while this view is first responder; returns whether
    // the view used it.
    virtual bool handleKeyInput(const KeyInput& input);
    // The accessibility hook: the role, name, value and state the view shows to a screen reader;
    // by default none (not an element).
    virtual AccessibilityDescription describeAccessibility() const;

private:
    friend class Layer;
    friend class Window;

    // Maps between this view's bounds and its superview's bounds.
    Point pointToSuperview(Point point) const;
    Point pointFromSuperview(Point point) const;
    Point pointToRoot(Point point) const;
    Point pointFromRoot(Point point) const;
    // Marks this view and its superviews as changed.
    void markChanged();
    // The area drawing the view and its visible subviews may cover, in bounds coordinates.
    Rect drawnArea() const;
    // The background, drawRect, then the subviews, all faded by `alpha`.
    void drawSelfAndSubviews(GraphicsContext& context, double alpha);
    std::size_t indexOfSubview(const View& subview) const;
    void detachSubview(std::size_t index);
    void attachSubview(const std::shared_ptr<View>& view, std::size_t index);

    Rect m_bounds;
    Point m_center;
    AffineTransform m_transform;
    double m_alpha = 1.0;
    bool m_hidden = false;
    bool m_clipsToBounds = false;
    bool m_allowsGroupOpacity = false;
    std::optional<Color> m_backgroundColor;
    bool m_userInteractionEnabled = true;
    bool m_exclusiveTouch = false;
    int m_tag = 0;
    bool m_accessibilityElementsHidden = false;
    bool m_needsLayout = false;
    bool m_needsDisplay = true;
    bool m_subtreeNeedsDisplay = true;
    std::weak_ptr<View> m_superview;
    std::vector<std::shared_ptr<View>> m_subviews;
    bool m_multipleTouchEnabled = false;
    std::vector<std::shared_ptr<GestureRecognizer>> m_gestureRecognizers;
    // Made with the view, so that every setter, even in the constructor, can report to it. Last,
    // so that it goes first: its animations may still complete after the view is gone.
    std::unique_ptr<Layer> m_layer;
};
