#include "ui/search/SearchBarView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/events/SearchService.h"
#include "core/events/SearchServiceCallback.h"
#include "core/hints/Hint.h"
#include "core/hints/HintPresenter.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "kit/Application.h"
#include "kit/Artwork.h"
#include "kit/Button.h"
#include "kit/Device.h"
#include "kit/ImageView.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/Notification.h"
#include "kit/NotificationCenter.h"
#include "kit/Screen.h"
#include "kit/ScrollView.h"
#include "kit/SwipeGestureRecognizer.h"
#include "kit/TapGestureRecognizer.h"
#include "kit/Window.h"
#include "ui/search/SearchArtwork.h"
#include "ui/search/SearchBarViewDelegate.h"
#include "ui/search/SearchProgressView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/search/SearchTextField.h"

#include <algorithm>
#include <Qt>

namespace {

constexpr double searchBarWidth = 320.0;
constexpr double searchBarHeight = 41.0;
// How far the humps and arrows, and the field and its rim, move between collapsed and expanded.
constexpr double searchHumpTravel = 11.0;
constexpr double searchFieldTravel = 4.0;

bool denseSearchScreen() {
    return Screen::main().scale() == 2.0;
}

double searchSlideDuration() {
    return Device::current().isAtLeastVersion(QStringLiteral("5.0")) ? 0.25 : 0.3;
}

// Hands one step's answer to the bar on a later turn of the main loop, so that the bar has
// finished starting the step before it sees the answer, tagged with the generation it was
// asked under.
class SearchBarAnswerReceiver final : public SearchServiceCallback {
public:
    using Deliver = std::function<void(const std::optional<SearchResult>& result)>;

    explicit SearchBarAnswerReceiver(Deliver deliver) : m_deliver(std::move(deliver)) {}

    void eventFound(const std::optional<SearchResult>& result) override {
        RunLoop::main().post([deliver = m_deliver, result] { deliver(result); });
    }

private:
    Deliver m_deliver;
};

} // namespace

std::shared_ptr<SearchBarView> SearchBarView::create(std::shared_ptr<SearchService> searchService) {
    auto bar = std::make_shared<SearchBarView>(std::move(searchService));
    bar->buildSubviews();
    return bar;
}

SearchBarView::SearchBarView(std::shared_ptr<SearchService> searchService)
    : View(Rect(0, restY, searchBarWidth, searchBarHeight)), m_searchService(std::move(searchService)) {
    SearchArtwork::registerImages();
}

SearchBarView::~SearchBarView() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::weak_ptr<SearchBarView> SearchBarView::weakSelf() {
    return std::static_pointer_cast<SearchBarView>(shared_from_this());
}

void SearchBarView::buildSubviews() {
    const bool dense = denseSearchScreen();
    m_stripView = std::make_shared<ImageView>(Rect(0, 11, searchBarWidth, 30));
    m_stripView->setImage(Artwork::imageNamed(QStringLiteral("search-bg")));
    addSubview(m_stripView);

    m_textFieldTopBorder =
        std::make_shared<ImageView>(dense ? Rect(62.5, 8.5, 192.5, 7) : Rect(64, 9, 190, 7));
    m_textFieldTopBorder->setImage(
        Artwork::imageNamed(QStringLiteral("search-input-topbg")).stretchableImage(13, 0));
    addSubview(m_textFieldTopBorder);

    const std::weak_ptr<SearchBarView> weak = weakSelf();
    m_searchTextField = std::make_shared<SearchTextField>(Rect(63, 12, 192, 25));
    m_searchTextField->onEditingDidEndOnExit = [weak] {
        if (const auto bar = weak.lock()) {
            bar->closeKeyboard();
        }
    };
    m_searchTextField->onEditingDidBegin = [weak] {
        if (const auto bar = weak.lock()) {
            bar->textFieldTapped();
        }
    };
    m_searchTextField->onEditingChanged = [weak] {
        if (const auto bar = weak.lock()) {
            bar->searchQueryChanged();
        }
    };
    m_searchTextField->onSearchKey = [weak](const KeyInput& input) {
        const auto bar = weak.lock();
        return bar && bar->handleSearchKey(input);
    };
    addSubview(m_searchTextField);

    const double humpWidth = dense ? 39.5 : 40;
    const Image hump = Artwork::imageNamed(QStringLiteral("search-button-topbg")).stretchableImage(19, 0);
    m_leftHump = std::make_shared<ImageView>(Rect(13, -1, humpWidth, 13));
    m_leftHump->setImage(hump);
    m_rightHump = std::make_shared<ImageView>(Rect(268, -1, humpWidth, 13));
    m_rightHump->setImage(hump);
    addSubview(m_leftHump);
    addSubview(m_rightHump);

    const auto makeArrow = [this, weak](double x, const QString& image, bool previous) {
        auto arrow = std::make_shared<Button>(Rect(x, 3, 37, 38));
        arrow->setImage(Artwork::imageNamed(image));
        arrow->setShowsTouchWhenHighlighted(true);
        arrow->setBackgroundColor(std::nullopt);
        arrow->setEnabled(false);
        arrow->onTouchUpInside = [weak, previous] {
            if (const auto bar = weak.lock()) {
                previous ? bar->searchPrevious() : bar->searchNext();
            }
        };
        addSubview(arrow);
        return arrow;
    };
    m_previousButton = makeArrow(14, QStringLiteral("search-button-left"), true);
    m_nextButton = makeArrow(269, QStringLiteral("search-button-right"), false);

    m_backgroundView = std::make_shared<View>(Rect(31360, 0, 1600, 416));
    m_backgroundView->setBackgroundColor(Color(0, 0, 0, 0.25));
    auto tap = std::make_shared<TapGestureRecognizer>();
    auto swipe = std::make_shared<SwipeGestureRecognizer>(SwipeDirection::Down);
    for (const std::shared_ptr<GestureRecognizer>& recognizer :
         {std::static_pointer_cast<GestureRecognizer>(tap),
          std::static_pointer_cast<GestureRecognizer>(swipe)}) {
        recognizer->onAction = [weak](GestureRecognizer&) {
            if (const auto bar = weak.lock()) {
                bar->closeSearch(true);
            }
        };
        m_backgroundView->addGestureRecognizer(recognizer);
    }
    SearchResultHighlightView::selectedResultInstance()->setSearchBackgroundView(m_backgroundView);
    m_searchProgressView = SearchProgressView::create();

    ApplicationEventDispatcher::sharedInstance().registerTarget<EventStoreChangedEvent>(
        this, [weak](const std::shared_ptr<EventStoreChangedEvent>&) {
            if (const auto bar = weak.lock()) {
                bar->storeChanged();
            }
        });
}

void SearchBarView::displayedWeekChanged(const Week& week) {
    m_searchService->setWeek(week);
}

void SearchBarView::showSearchIsOpeningIndication() {
    if (const std::shared_ptr<HintPresenter> hintView = Hint::hintView()) {
        hintView->hideHint();
    }
    // With the keyboard up already no keyboard notice would come to take the spinner away.
    if (m_keyboardIsVisible) {
        return;
    }
    m_searchProgressView->setMessage(QString(), true);
    m_searchProgressView->show();
}

void SearchBarView::showKeyboard(bool start) {
    enableKeyboardObserver(true);
    m_openedViaSwipe = true;
    m_startSearching = start;
    m_searchTextField->becomeFirstResponder();
    if (start) {
        if (const auto owner = delegate()) {
            m_searchService->setWeek(owner->currentWeek());
        }
    }
}

void SearchBarView::keyboardOpened(const Notification& notification) {
    if (const std::optional<Rect> end = notification.rectValue(Keyboard::frameEndUserInfoKey)) {
        m_keyboardHeight = end->height();
    }
    if (m_keyboardIsVisible) {
        setWindowRaise(m_keyboardHeight);
    }
    textFieldTapped();
}

void SearchBarView::textFieldTapped() {
    if (m_keyboardIsVisible || m_keyboardHeight == 0) {
        return;
    }
    enableKeyboardObserver(true);
    m_keyboardIsVisible = true;
    m_searchProgressView->hide();
    if (const std::shared_ptr<HintPresenter> hintView = Hint::hintView()) {
        hintView->hideHint();
    }
    const std::shared_ptr<ScrollView> scrollView = m_scrollView.lock();
    if (scrollView) {
        scrollView->setScrollEnabled(false);
    }
    const bool starting = m_startSearching;
    if (starting) {
        const bool dense = denseSearchScreen();
        m_leftHump->setFrameY(dense ? 9.5 : 10);
        m_rightHump->setFrameY(dense ? 9.5 : 10);
        m_previousButton->setFrameY(14);
        m_nextButton->setFrameY(14);
        m_textFieldTopBorder->setFrameY(dense ? 8.5 : 9);
        m_searchTextField->setFrameY(14);
        m_backgroundView->setAlpha(0);
        if (scrollView) {
            scrollView->addSubview(m_backgroundView);
        }
    }
    const std::weak_ptr<SearchBarView> weak = weakSelf();
    const double raise = m_keyboardHeight;
    View::animate(
        searchSlideDuration(), 0, AnimationCurve::easeInOut, AnimationOption::none,
        [this, raise, starting] {
            setWindowRaise(raise);
            if (starting) {
                moveFrameY(-slideHeight);
                m_backgroundView->setAlpha(1);
                collapse(false);
            }
        },
        [weak](bool) {
            const auto bar = weak.lock();
            if (bar && bar->m_openedViaSwipe) {
                bar->m_openedViaSwipe = false;
                bar->m_searchTextField->selectAll();
            }
        });
    m_startSearching = false;
}

void SearchBarView::searchQueryChanged() {
    ++m_answerGeneration;
    m_repeatStep = false;
    m_shownAtLastMoment.clear();
    m_resumeAfter.clear();
    const bool hasText = !m_searchTextField->text().isEmpty();
    m_previousButton->setEnabled(hasText);
    m_nextButton->setEnabled(hasText);
    restartFromDisplayedWeek();
}

void SearchBarView::closeKeyboard() {
    searchNext();
}

void SearchBarView::searchPrevious() {
    search(true);
}

void SearchBarView::searchNext() {
    search(false);
}

void SearchBarView::search(bool previous) {
    const QString query = m_searchTextField->text();
    if (query.isEmpty() || m_queryingDatabase) {
        return;
    }
    m_queryingDatabase = true;
    const std::weak_ptr<SearchBarView> weak = weakSelf();
    const std::uint64_t generation = m_answerGeneration;
    auto receiver = std::make_shared<SearchBarAnswerReceiver>(
        [weak, generation, previous](const std::optional<SearchResult>& result) {
            if (const auto bar = weak.lock()) {
                bar->answerArrived(generation, previous, result);
            }
        });
    const bool answerAtHand = previous ? m_searchService->findPrevious(query, receiver)
                                       : m_searchService->findNext(query, receiver);
    if (!answerAtHand) {
        m_searchProgressView->setMessage(localizedString(QStringLiteral("Searching")), true);
        m_searchProgressView->show();
        m_previousButton->setEnabled(false);
        m_nextButton->setEnabled(false);
    }
    closeKeyboard(false, true);
    m_searchTextField->setEnabled(false);
}

void SearchBarView::answerArrived(std::uint64_t generation, bool previous,
                                  const std::optional<SearchResult>& result) {
    if (generation == m_answerGeneration) {
        if (result && isAlreadyShown(*result, previous)) {
            // The search started again after a change of the store; what was shown before is
            // passed over without a word.
            m_queryingDatabase = false;
            search(previous);
            return;
        }
        m_resumeAfter.clear();
        if (result) {
            noteShown(*result);
        }
        eventFound(result);
        return;
    }
    // The answer belongs to an earlier query, or to the store as it was.
    m_queryingDatabase = false;
    if (m_repeatStep) {
        m_repeatStep = false;
        search(previous);
        return;
    }
    m_searchProgressView->hide();
    enableButtons();
}

void SearchBarView::eventFound(const std::optional<SearchResult>& result) {
    m_queryingDatabase = false;
    if (result) {
        m_searchProgressView->hide();
    } else {
        m_searchProgressView->setMessage(
            localizedString(m_firstTime ? QStringLiteral("No results") : QStringLiteral("No more results")),
            false);
        m_searchProgressView->show();
        m_searchProgressView->hideDelayed();
    }
    const std::shared_ptr<SearchBarViewDelegate> owner = delegate();
    if (m_firstTime) {
        m_firstTime = false;
        if (owner) {
            owner->startSearching();
        }
    }
    if (owner) {
        owner->showSearchResult(result);
    }
}

// Only after the store changed: the steps before the last shown result in that direction.
bool SearchBarView::isAlreadyShown(const SearchResult& result, bool previous) const {
    if (m_resumeAfter.empty()) {
        return false;
    }
    const Date moment = m_resumeAfter.back().dateTime();
    if (result.dateTime() == moment) {
        return std::find(m_resumeAfter.begin(), m_resumeAfter.end(), result) != m_resumeAfter.end();
    }
    return previous ? result.dateTime() > moment : result.dateTime() < moment;
}

void SearchBarView::noteShown(const SearchResult& result) {
    if (!m_shownAtLastMoment.empty() && m_shownAtLastMoment.back().dateTime() != result.dateTime()) {
        m_shownAtLastMoment.clear();
    }
    std::erase(m_shownAtLastMoment, result);
    m_shownAtLastMoment.push_back(result);
}

void SearchBarView::storeChanged() {
    // What was found may be gone or elsewhere now: the search starts again from the week on
    // display, passing over what was shown already, and a step under way is made again on the
    // new store.
    ++m_answerGeneration;
    if (!m_shownAtLastMoment.empty()) {
        m_resumeAfter = m_shownAtLastMoment;
    }
    m_repeatStep = m_queryingDatabase;
    restartFromDisplayedWeek();
}

// The next step starts from the week on display, with no result marked.
void SearchBarView::restartFromDisplayedWeek() {
    m_searchService->stopSearch();
    if (const auto owner = delegate()) {
        m_searchService->setWeek(owner->currentWeek());
    }
    SearchResultHighlightView::selectedResultInstance()->hide();
}

void SearchBarView::closeKeyboard(bool closing, bool animated) {
    m_keyboardIsVisible = false;
    enableKeyboardObserver(false);
    if (closing) {
        m_searchProgressView->hide();
        if (m_activatedUsingMenu) {
            m_activatedUsingMenu = false;
            if (const std::shared_ptr<Hint> hint = Hint::hintByIdentifier(QStringLiteral("searchHint"))) {
                hint->trigger();
            }
        }
    }
    if (const std::shared_ptr<ScrollView> scrollView = m_scrollView.lock()) {
        scrollView->setScrollEnabled(true);
    }
    if (!m_searchTextField->isFirstResponder()) {
        return;
    }
    m_searchTextField->resignFirstResponder();
    if (!closing) {
        m_firstTime = true;
    }
    const std::weak_ptr<SearchBarView> weak = weakSelf();
    const auto changes = [this, closing] {
        setWindowRaise(0);
        if (closing) {
            moveFrameY(slideHeight);
            m_backgroundView->setAlpha(0);
        }
    };
    const auto done = [weak, closing](bool) {
        const auto bar = weak.lock();
        if (bar && closing) {
            bar->removeUnlessOpen();
        }
    };
    if (animated) {
        View::animate(searchSlideDuration(), 0, AnimationCurve::easeInOut, AnimationOption::none, changes,
                      done);
    } else {
        View::performWithoutAnimation(changes);
        done(true);
    }
}

void SearchBarView::closeSearch(bool animated) {
    if (m_queryingDatabase) {
        return;
    }
    ++m_answerGeneration;
    closeKeyboard(true, animated);
    m_searchService->stopSearch();
    if (const auto owner = delegate()) {
        owner->doneSearching(animated);
    }
}

void SearchBarView::close() {
    const bool away = frame().y() != restY;
    const std::weak_ptr<SearchBarView> weak = weakSelf();
    View::animate(
        searchSlideDuration(), 0, AnimationCurve::easeInOut, AnimationOption::none,
        [this, away] {
            if (away) {
                moveFrameY(slideHeight);
                m_backgroundView->setAlpha(0);
            }
            collapse(true);
        },
        [weak](bool) {
            if (const auto bar = weak.lock()) {
                bar->removeUnlessOpen();
            }
        });
}

// Closed with the keyboard down, nothing took the layer and the bar away yet; opened again
// meanwhile, they stay.
void SearchBarView::removeUnlessOpen() {
    if (m_keyboardIsVisible) {
        return;
    }
    m_backgroundView->removeFromSuperview();
    removeFromSuperview();
}

void SearchBarView::collapse(bool collapsed) {
    const double direction = collapsed ? 1.0 : -1.0;
    for (View* view : {static_cast<View*>(m_leftHump.get()), static_cast<View*>(m_rightHump.get()),
                       static_cast<View*>(m_previousButton.get()), static_cast<View*>(m_nextButton.get())}) {
        view->moveFrameY(searchHumpTravel * direction);
    }
    m_textFieldTopBorder->moveFrameY(searchFieldTravel * direction);
    m_searchTextField->moveFrameY(searchFieldTravel * direction);
}

void SearchBarView::enableButtons() {
    const bool hasText = !m_searchTextField->text().isEmpty();
    m_previousButton->setEnabled(hasText);
    m_nextButton->setEnabled(hasText);
    m_searchTextField->setEnabled(true);
}

void SearchBarView::disableButtons() {
    m_previousButton->setEnabled(false);
    m_nextButton->setEnabled(false);
    m_searchTextField->setEnabled(false);
}

void SearchBarView::enableKeyboardObserver(bool enable) {
    if (enable == m_keyboardObserverActive) {
        return;
    }
    m_keyboardObserverActive = enable;
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (!enable) {
        center.removeObserver(this, Keyboard::willShowNotification);
        return;
    }
    const std::weak_ptr<SearchBarView> weak = weakSelf();
    center.addObserver(this, Keyboard::willShowNotification, [weak](const Notification& notification) {
        if (const auto bar = weak.lock()) {
            bar->keyboardOpened(notification);
        }
    });
}

bool SearchBarView::handleSearchKey(const KeyInput& input) {
    if (input.type != KeyInput::Type::Press) {
        return false;
    }
    const bool shifted = (input.modifiers & Qt::ShiftModifier) != 0;
    switch (input.key) {
    case Qt::Key_Escape:
        closeSearch(true);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        stepByKey(shifted);
        return true;
    case Qt::Key_Up:
        stepByKey(true);
        return true;
    case Qt::Key_Down:
        stepByKey(false);
        return true;
    default:
        return false;
    }
}

// A key steps only when its arrow could be pressed: not without text, nor while the screen is
// still on its way to the last result.
void SearchBarView::stepByKey(bool previous) {
    const std::shared_ptr<Button>& arrow = previous ? m_previousButton : m_nextButton;
    if (arrow->enabled()) {
        search(previous);
    }
}

void SearchBarView::setWindowRaise(double raise) {
    const Application* application = Application::shared();
    if (Window* window = application ? application->keyWindow() : nullptr) {
        window->setContentRaise(raise);
    }
}
