#pragma once

#include "kit/AnimationOptions.h"
#include "kit/BasicAnimation.h"
#include "kit/TimingFunction.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Layer;
class RunLoop;
class Timer;

// Runs every animation of the views: records the changes made inside View::animate blocks and
// turns them into animations when the block ends, and drives the running animations from the
// main run loop's clock with a timer at the frame rate, ending them exactly on time. Each frame
// marks the animated views as changed, so a root view's subtreeNeedsDisplay follows the
// frames. Motion that views compute themselves frame by frame (deceleration, springs, the steps
// of a spinning drawing) runs on the same frames through frame timers, so that one timer of
// the run loop serves all motion and none is left when nothing moves.
//
// Completions run on the main thread. Animations that end on their own complete from the
// frame timer, in the order of their end times; animations removed or replaced before their
// end complete (with false) on the next turn of the run loop, so that the code removing them
// never runs a completion in the middle of its own work.
//
// Main thread only.
class Animator {
public:
    static constexpr double frameInterval = 1.0 / 60.0;

    static Animator& instance();

    // True while any animation runs or waits for its delay, endless ones included.
    static bool hasRunningAnimations();
    // True while an animation with an end runs (repeating without end does not count), so
    // that a picture can be taken once everything has settled.
    static bool hasEndingAnimations();
    // Brings every animation with an end to its end now: they are removed and their
    // completions run at once (also for animations those completions start). Endless
    // animations keep running.
    static void finishAll();
    // Called after every frame (for a window to draw again).
    static void setOnFrame(std::function<void()> onFrame);

    // See View::animate and View::performWithoutAnimation.
    void animate(double duration, double delay, AnimationCurve curve, AnimationOptions options,
                 const std::function<void()>& changes, std::function<void(bool finished)> completion);
    void performWithoutAnimation(const std::function<void()>& changes);

    // Calls `onFrame` on the animator's frames every `interval` seconds from now (the first
    // time one interval from now) until the returned timer is invalidated; a frame that comes
    // late runs once and the intervals it missed are skipped. Invalidate the timer when its
    // owner goes away; the callback should hold its owner weakly.
    std::shared_ptr<Timer> scheduleFrames(double interval, std::function<void()> onFrame);

    // The clock in seconds: the main run loop's now.
    static double now();

    // The completion of one animate block, run when its last animation has ended.
    struct CompletionGroup {
        std::function<void(bool finished)> completion;
        int outstanding = 0;
        bool finished = true;
    };

private:
    friend class Layer;
    class FrameTimer;

    struct Change {
        Layer* layer;
        QString keyPath;
        AnimationValue oldValue;
    };
    struct Transaction {
        bool animated = false;
        double duration = 0.0;
        double delay = 0.0;
        AnimationCurve curve = AnimationCurve::easeInOut;
        AnimationOptions options;
        std::vector<Change> changes;
        // Layers made during the block: their views appear with the values they are given.
        std::vector<const Layer*> newLayers;
    };
    struct Ended {
        double endTime;
        std::uint64_t sequence;
        std::shared_ptr<CompletionGroup> group;
    };

    Animator() = default;

    // From layers.
    void modelValueChanged(Layer& layer, const QString& keyPath, const AnimationValue& oldValue);
    void layerCreated(const Layer& layer);
    void layerStartedAnimating(Layer& layer);
    void layerStoppedAnimating(Layer& layer);
    void layerDestroyed(Layer& layer);
    std::uint64_t nextSequence() { return m_nextSequence++; }
    // Counts one animation of the group as ended; the last one runs the completion, at once or
    // on the next turn of the run loop.
    static void animationEnded(const std::shared_ptr<CompletionGroup>& group, bool finished, bool deferred);

    void commit(Transaction& transaction, const std::shared_ptr<CompletionGroup>& group);
    void tick();
    void scheduleTick();
    void stopTicking();
    void completeAll(std::vector<Ended>& ended);
    void runFrameTimers(double time);
    void frameTimerInvalidated();
    // Animations or frame timers to run; forgets the frame timers that ended.
    bool hasWork();

    std::vector<Transaction> m_transactions;
    int m_disabledDepth = 0;
    std::vector<Layer*> m_animatingLayers;
    std::vector<std::shared_ptr<FrameTimer>> m_frameTimers;
    std::shared_ptr<Timer> m_timer;
    // The main loop's generation when the timer was scheduled; a timer of an earlier main loop
    // never fires, so it is dropped.
    std::uint64_t m_timerGeneration = 0;
    bool m_ticking = false;
    std::uint64_t m_nextSequence = 0;
    std::function<void()> m_onFrame;
};
