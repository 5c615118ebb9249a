#include "kit/Animator.h"

#include "foundation/RunLoop.h"
#include "kit/Layer.h"
#include "kit/View.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Completions may start new animations; finishing all of them stops after this many rounds,
// so that a completion that always starts another animation cannot hang the caller.
constexpr int maximumFinishRounds = 100;

// A missing background colour reads as clear black; fading it from or to a colour should only
// change the opacity, so the missing side takes the other side's colour at alpha 0.
void matchClearColour(AnimationValue& from, AnimationValue& to) {
    Color& start = std::get<Color>(from);
    Color& end = std::get<Color>(to);
    if (start == Color()) {
        start = Color(end.red(), end.green(), end.blue(), 0.0);
    } else if (end == Color()) {
        end = Color(start.red(), start.green(), start.blue(), 0.0);
    }
}

} // namespace

class Animator::FrameTimer final : public Timer {
public:
    FrameTimer(double interval, double firstFireTime, std::function<void()> onFrame)
        : m_interval(interval), m_nextFireTime(firstFireTime), m_onFrame(std::move(onFrame)),
          m_generation(RunLoop::mainGeneration()) {}

    void invalidate() override {
        if (m_valid) {
            m_valid = false;
            Animator::instance().frameTimerInvalidated();
        }
    }
    bool isValid() const override { return m_valid; }
    Date fireDate() const override { return Date::withTimeIntervalSince1970(m_nextFireTime); }

    double m_interval;
    double m_nextFireTime;
    std::function<void()> m_onFrame;
    // The main loop's generation when the timer was made: like the loop's own timers, it ends
    // when that loop is replaced (tests install one each).
    std::uint64_t m_generation;
    bool m_valid = true;
};

Animator& Animator::instance() {
    // Never destroyed: views living until the process ends still reach it from their
    // destructors.
    static auto* const animator = new Animator;
    return *animator;
}

double Animator::now() {
    return RunLoop::main().now().timeIntervalSince1970();
}

bool Animator::hasRunningAnimations() {
    return !instance().m_animatingLayers.empty();
}

bool Animator::hasEndingAnimations() {
    for (const Layer* layer : instance().m_animatingLayers) {
        for (const Layer::RunningAnimation& running : layer->m_animations) {
            if (!running.animation.isEndless()) {
                return true;
            }
        }
    }
    return false;
}

void Animator::finishAll() {
    Animator& animator = instance();
    for (int round = 0; round < maximumFinishRounds; ++round) {
        std::vector<Ended> ended;
        const std::vector<Layer*> layers = animator.m_animatingLayers;
        for (Layer* layer : layers) {
            auto& animations = layer->m_animations;
            for (auto it = animations.begin(); it != animations.end();) {
                if (it->animation.isEndless()) {
                    ++it;
                    continue;
                }
                ended.push_back({it->endTime(), it->sequence, it->group});
                layer->presentationChanged(it->animation.keyPath());
                it = animations.erase(it);
            }
            if (animations.empty()) {
                animator.layerStoppedAnimating(*layer);
            }
        }
        if (ended.empty()) {
            return;
        }
        animator.completeAll(ended);
    }
}

void Animator::setOnFrame(std::function<void()> onFrame) {
    instance().m_onFrame = std::move(onFrame);
}

void Animator::animate(double duration, double delay, AnimationCurve curve, AnimationOptions options,
                       const std::function<void()>& changes, std::function<void(bool finished)> completion) {
    auto group = std::make_shared<CompletionGroup>();
    group->completion = std::move(completion);
    Transaction transaction;
    transaction.animated = m_disabledDepth == 0 && (duration > 0.0 || delay > 0.0);
    transaction.duration = std::max(duration, 0.0);
    transaction.delay = std::max(delay, 0.0);
    transaction.curve = curve;
    transaction.options = options;
    m_transactions.push_back(std::move(transaction));
    if (changes) {
        changes();
    }
    if (options.testFlag(AnimationOption::layoutSubviews)) {
        // Layout may change further views; those join the same block. Weak links, as a layout
        // hook may drop views.
        std::vector<std::weak_ptr<View>> changed;
        for (const Change& change : m_transactions.back().changes) {
            std::weak_ptr<View> view = change.layer->view().weak_from_this();
            const bool listed =
                std::any_of(changed.begin(), changed.end(), [&](const std::weak_ptr<View>& other) {
                    return !other.owner_before(view) && !view.owner_before(other);
                });
            if (!listed) {
                changed.push_back(std::move(view));
            }
        }
        for (const std::weak_ptr<View>& weak : changed) {
            if (const std::shared_ptr<View> view = weak.lock()) {
                view->layoutIfNeeded();
            }
        }
    }
    Transaction finished = std::move(m_transactions.back());
    m_transactions.pop_back();
    if (finished.animated) {
        commit(finished, group);
    }
    if (group->outstanding == 0 && group->completion) {
        // Nothing to animate: the block is done on the next turn of the run loop.
        RunLoop::main().post([completion = group->completion] { completion(true); });
    }
}

void Animator::performWithoutAnimation(const std::function<void()>& changes) {
    ++m_disabledDepth;
    m_transactions.push_back(Transaction{});
    if (changes) {
        changes();
    }
    m_transactions.pop_back();
    --m_disabledDepth;
}

std::shared_ptr<Timer> Animator::scheduleFrames(double interval, std::function<void()> onFrame) {
    interval = std::max(interval, RunLoop::minimumRepeatInterval);
    auto timer = std::make_shared<FrameTimer>(interval, now() + interval, std::move(onFrame));
    m_frameTimers.push_back(timer);
    scheduleTick();
    return timer;
}

void Animator::frameTimerInvalidated() {
    // The frame running now drops it when it is done.
    if (!m_ticking && !hasWork()) {
        stopTicking();
    }
}

bool Animator::hasWork() {
    const std::uint64_t generation = RunLoop::mainGeneration();
    std::erase_if(m_frameTimers, [generation](const std::shared_ptr<FrameTimer>& timer) {
        if (timer->m_generation != generation) {
            timer->m_valid = false;
        }
        return !timer->m_valid;
    });
    return !m_animatingLayers.empty() || !m_frameTimers.empty();
}

void Animator::runFrameTimers(double time) {
    // A snapshot: frame callbacks may add timers (those wait for their first interval) and
    // invalidate any.
    const std::vector<std::shared_ptr<FrameTimer>> timers = m_frameTimers;
    for (const std::shared_ptr<FrameTimer>& timer : timers) {
        if (!timer->m_valid || timer->m_nextFireTime > time + BasicAnimation::endTolerance) {
            continue;
        }
        timer->m_nextFireTime += timer->m_interval;
        if (const double behind = time - timer->m_nextFireTime; behind >= 0.0) {
            timer->m_nextFireTime += (std::floor(behind / timer->m_interval) + 1.0) * timer->m_interval;
        }
        // A copy, so that the callback survives its timer being dropped while it runs.
        const std::function<void()> onFrame = timer->m_onFrame;
        onFrame();
    }
}

void Animator::commit(Transaction& transaction, const std::shared_ptr<CompletionGroup>& group) {
    const bool fromCurrentState = transaction.options.testFlag(AnimationOption::beginFromCurrentState);
    const bool repeats = transaction.options.testFlag(AnimationOption::repeat);
    const bool autoreverses = transaction.options.testFlag(AnimationOption::autoreverse);
    const bool blocksInteraction = !transaction.options.testFlag(AnimationOption::allowUserInteraction);
    const double now = Animator::now();
    for (Change& change : transaction.changes) {
        Layer& layer = *change.layer;
        AnimationValue from = std::move(change.oldValue);
        AnimationValue to = layer.modelValueForKeyPath(change.keyPath);
        if (fromCurrentState && layer.isAnimatingKeyPath(change.keyPath)) {
            from = layer.presentationValueForKeyPath(change.keyPath);
        }
        if (change.keyPath == Layer::backgroundColorKey) {
            matchClearColour(from, to);
        }
        if (from == to) {
            continue;
        }
        BasicAnimation animation(change.keyPath, from, to, transaction.duration);
        animation.setDelay(transaction.delay);
        animation.setCurve(transaction.curve);
        animation.setRepeatCount(repeats ? BasicAnimation::repeatForever : 0.0);
        animation.setAutoreverses(autoreverses);
        // The old value shows during the delay, as if the change had not been made yet.
        animation.setFillsBackwards(true);
        Layer::RunningAnimation running;
        running.key = change.keyPath;
        running.animation = std::move(animation);
        running.addedAt = now;
        running.sequence = nextSequence();
        running.group = group;
        running.fromBlock = true;
        running.blocksInteraction = blocksInteraction;
        ++group->outstanding;
        layer.addRunningAnimation(std::move(running));
    }
}

void Animator::modelValueChanged(Layer& layer, const QString& keyPath, const AnimationValue& oldValue) {
    const bool isNew =
        std::any_of(m_transactions.begin(), m_transactions.end(), [&](const Transaction& open) {
            return std::find(open.newLayers.begin(), open.newLayers.end(), &layer) != open.newLayers.end();
        });
    if (isNew) {
        return;
    }
    if (!m_transactions.empty() && m_transactions.back().animated) {
        std::vector<Change>& changes = m_transactions.back().changes;
        const bool known = std::any_of(changes.begin(), changes.end(), [&](const Change& change) {
            return change.layer == &layer && change.keyPath == keyPath;
        });
        if (!known) {
            changes.push_back({&layer, keyPath, oldValue});
        }
        return;
    }
    // A change made without animation shows at once, so an animation of the same property made
    // by a block must not go on showing other values.
    layer.removeBlockAnimation(keyPath);
}

void Animator::layerCreated(const Layer& layer) {
    if (!m_transactions.empty()) {
        m_transactions.back().newLayers.push_back(&layer);
    }
}

void Animator::layerStartedAnimating(Layer& layer) {
    if (std::find(m_animatingLayers.begin(), m_animatingLayers.end(), &layer) == m_animatingLayers.end()) {
        m_animatingLayers.push_back(&layer);
    }
    scheduleTick();
}

void Animator::layerStoppedAnimating(Layer& layer) {
    std::erase(m_animatingLayers, &layer);
    if (!hasWork()) {
        stopTicking();
    }
}

void Animator::layerDestroyed(Layer& layer) {
    for (Transaction& transaction : m_transactions) {
        std::erase_if(transaction.changes, [&](const Change& change) { return change.layer == &layer; });
        std::erase(transaction.newLayers, &layer);
    }
    layerStoppedAnimating(layer);
}

void Animator::animationEnded(const std::shared_ptr<CompletionGroup>& group, bool finished, bool deferred) {
    if (!group) {
        return;
    }
    if (!finished) {
        group->finished = false;
    }
    if (--group->outstanding > 0 || !group->completion) {
        return;
    }
    if (deferred) {
        RunLoop::main().post([completion = group->completion, ok = group->finished] { completion(ok); });
    } else {
        // A copy: the completion may drop the last reference to the group.
        const std::function<void(bool)> completion = group->completion;
        completion(group->finished);
    }
}

void Animator::completeAll(std::vector<Ended>& ended) {
    std::sort(ended.begin(), ended.end(), [](const Ended& a, const Ended& b) {
        return a.endTime != b.endTime ? a.endTime < b.endTime : a.sequence < b.sequence;
    });
    for (const Ended& end : ended) {
        animationEnded(end.group, true, false);
    }
}

void Animator::tick() {
    m_timer.reset();
    m_ticking = true;
    const double time = now();
    // Views' own motion first: it may start or end animations shown in this same frame.
    runFrameTimers(time);
    std::vector<Ended> ended;
    const std::vector<Layer*> layers = m_animatingLayers;
    for (Layer* layer : layers) {
        auto& animations = layer->m_animations;
        for (auto it = animations.begin(); it != animations.end();) {
            layer->presentationChanged(it->animation.keyPath());
            if (it->endTime() <= time + BasicAnimation::endTolerance) {
                ended.push_back({it->endTime(), it->sequence, it->group});
                it = animations.erase(it);
            } else {
                ++it;
            }
        }
        if (animations.empty()) {
            std::erase(m_animatingLayers, layer);
        }
    }
    // The layers are not touched from here on: completions may destroy their views.
    completeAll(ended);
    m_ticking = false;
    if (!hasWork()) {
        stopTicking();
    } else {
        scheduleTick();
    }
    if (m_onFrame) {
        const std::function<void()> onFrame = m_onFrame;
        onFrame();
    }
}

void Animator::scheduleTick() {
    if (m_ticking || !hasWork()) {
        return;
    }
    RunLoop& loop = RunLoop::main();
    const std::uint64_t generation = RunLoop::mainGeneration();
    if (m_timer && m_timerGeneration != generation) {
        // Left behind by a main loop that has been replaced (tests install one each); that
        // loop may be gone, so the timer is only let go of.
        m_timer.reset();
    }
    const double time = now();
    double next = m_animatingLayers.empty() ? std::numeric_limits<double>::infinity() : time + frameInterval;
    for (const std::shared_ptr<FrameTimer>& timer : m_frameTimers) {
        next = std::min(next, std::max(timer->m_nextFireTime, time));
    }
    for (const Layer* layer : m_animatingLayers) {
        for (const Layer::RunningAnimation& running : layer->m_animations) {
            next = std::min(next, std::max(running.endTime(), time));
        }
    }
    if (m_timer && m_timer->isValid() &&
        m_timer->fireDate().timeIntervalSince1970() <= next + BasicAnimation::endTolerance) {
        return;
    }
    if (m_timer) {
        m_timer->invalidate();
    }
    m_timerGeneration = generation;
    m_timer = loop.scheduleTimer(next - time, false, [] { instance().tick(); });
}

void Animator::stopTicking() {
    if (m_timer && m_timerGeneration == RunLoop::mainGeneration()) {
        m_timer->invalidate();
    }
    m_timer.reset();
}
