#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "core/events/SearchResult.h"
#include "kit/View.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Button;
class ImageView;
class Notification;
class ScrollView;
class SearchBarViewDelegate;
class SearchProgressView;
class SearchService;
class SearchTextField;
struct KeyInput;

// The search bar at the bottom of the week screen: the query field between the previous and
// next arrows. While it has the keyboard, the window's content is raised by the keyboard's
// height and the pages behind are dimmed; a tap or a downward swipe on the dimmed area closes
// the search. Each step asks the engine for the next or previous occurrence from the displayed
// week, and the delegate shows it.
//
// Answers arrive on a later turn of the main loop. An answer that belongs to an earlier query
// (or to the store as it was before a change) is never shown.
class SearchBarView : public View, public BusReceiver {
public:
    static constexpr double restY = 405.0;
    static constexpr double slideHeight = 30.0;

    static std::shared_ptr<SearchBarView> create(std::shared_ptr<SearchService> searchService);
    explicit SearchBarView(std::shared_ptr<SearchService> searchService);
    ~SearchBarView() override;

    void setDelegate(std::weak_ptr<SearchBarViewDelegate> delegate) { m_delegate = std::move(delegate); }
    void setScrollView(std::weak_ptr<ScrollView> scrollView) { m_scrollView = std::move(scrollView); }
    void displayedWeekChanged(const Week& week);
    void showSearchIsOpeningIndication();
    void showKeyboard(bool start);
    void setActivatedUsingMenu(bool activatedUsingMenu) { m_activatedUsingMenu = activatedUsingMenu; }
    // Refused while a step waits for the store.
    void closeSearch(bool animated);
    void enableButtons();
    void disableButtons();
    // Back to the rest position, collapsed.
    void close();

    // The handlers of the bar's own controls.
    void textFieldTapped();
    void searchQueryChanged();
    void closeKeyboard();
    void searchPrevious();
    void searchNext();
    void keyboardOpened(const Notification& notification);
    void eventFound(const std::optional<SearchResult>& result);
    void closeKeyboard(bool closing, bool animated);
    void collapse(bool collapsed);
    void enableKeyboardObserver(bool enable);

    // The desktop keys of an open search: Escape closes it, Return and the down arrow step
    // forwards, Shift+Return and the up arrow backwards. Answers whether the key was used.
    bool handleSearchKey(const KeyInput& input);

    const std::shared_ptr<SearchTextField>& searchTextField() const { return m_searchTextField; }
    const std::shared_ptr<Button>& previousButton() const { return m_previousButton; }
    const std::shared_ptr<Button>& nextButton() const { return m_nextButton; }
    const std::shared_ptr<View>& backgroundView() const { return m_backgroundView; }
    const std::shared_ptr<SearchProgressView>& searchProgressView() const { return m_searchProgressView; }
    double keyboardHeight() const { return m_keyboardHeight; }
    bool keyboardIsVisible() const { return m_keyboardIsVisible; }
    bool queryingDatabase() const { return m_queryingDatabase; }

private:
    void buildSubviews();
    void search(bool previous);
    void stepByKey(bool previous);
    // An answer of the step started under `generation`.
    void answerArrived(std::uint64_t generation, bool previous, const std::optional<SearchResult>& result);
    void storeChanged();
    void restartFromDisplayedWeek();
    void removeUnlessOpen();
    bool isAlreadyShown(const SearchResult& result, bool previous) const;
    void noteShown(const SearchResult& result);
    void setWindowRaise(double raise);
    std::shared_ptr<SearchBarViewDelegate> delegate() const { return m_delegate.lock(); }
    std::weak_ptr<SearchBarView> weakSelf();

    std::shared_ptr<SearchService> m_searchService;
    std::shared_ptr<ImageView> m_stripView;
    std::shared_ptr<SearchTextField> m_searchTextField;
    std::shared_ptr<Button> m_previousButton;
    std::shared_ptr<Button> m_nextButton;
    std::shared_ptr<ImageView> m_textFieldTopBorder;
    std::shared_ptr<ImageView> m_leftHump;
    std::shared_ptr<ImageView> m_rightHump;
    std::shared_ptr<View> m_backgroundView;
    std::shared_ptr<SearchProgressView> m_searchProgressView;
    std::weak_ptr<ScrollView> m_scrollView;
    std::weak_ptr<SearchBarViewDelegate> m_delegate;
    double m_keyboardHeight = 0;
    bool m_keyboardIsVisible = false;
    bool m_keyboardObserverActive = false;
    bool m_startSearching = false;
    bool m_openedViaSwipe = false;
    bool m_firstTime = true;
    bool m_queryingDatabase = false;
    bool m_activatedUsingMenu = false;
    // Changes with the query text and with the store; answers of another generation are dropped.
    std::uint64_t m_answerGeneration = 0;
    // Set when the store changed under a running step, which is then made again.
    bool m_repeatStep = false;
    // The results shown at the moment of the last one shown, in the order shown: several events
    // can start at one moment.
    std::vector<SearchResult> m_shownAtLastMoment;
    // After a change of the store, the results from which the search goes on.
    std::vector<SearchResult> m_resumeAfter;
};
