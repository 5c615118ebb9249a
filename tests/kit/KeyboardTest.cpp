#include "kit/Keyboard.h"
#include "TextInputTestSupport.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/Screen.h"

#include <gtest/gtest.h>

namespace {

class KeyboardTest : public TextInputFixture {
protected:
    Keyboard& keyboard() { return m_window->keyboard(); }

    void tapKey(const QString& title) {
        const Keyboard::Key* key = keyboard().keyWithTitle(title);
        ASSERT_NE(key, nullptr) << title.toStdString();
        tap(keyboard().convertPointToView(key->frame.center(), m_window.get()));
    }

    std::shared_ptr<TextField> m_first = addField(Rect(10, 10, 300, 31));
    std::shared_ptr<TextField> m_second = addField(Rect(10, 50, 300, 31));
};

TEST_F(KeyboardTest, ShowingInPortraitReportsFramesAndSlidesUp) {
    ASSERT_TRUE(m_first->becomeFirstResponder());
    EXPECT_EQ(notes(), "willShow 0,480,320,216>0,264,320,216");
    EXPECT_TRUE(keyboard().isShown());
    EXPECT_EQ(keyboard().superview(), m_window);
    EXPECT_EQ(keyboard().frame(), Rect(0, 264, 320, 216));
    advance(0.125);
    EXPECT_GT(keyboard().presentationFrame().y(), 264.0);
    EXPECT_LT(keyboard().presentationFrame().y(), 480.0);
    advance(0.2);
    EXPECT_EQ(notes(), "willShow 0,480,320,216>0,264,320,216 | didShow 0,480,320,216>0,264,320,216");
    EXPECT_EQ(keyboard().presentationFrame(), Rect(0, 264, 320, 216));
}

TEST_F(KeyboardTest, TheDurationTravelsWithTheFrames) {
    double duration = 0;
    NotificationCenter::defaultCenter().addObserver(
        &duration, Keyboard::willShowNotification, [&](const Notification& note) {
            duration = note.doubleValue(Keyboard::animationDurationUserInfoKey).value_or(0.0);
        });
    m_first->becomeFirstResponder();
    NotificationCenter::defaultCenter().removeObserver(&duration);
    EXPECT_DOUBLE_EQ(duration, 0.25);
}

TEST_F(KeyboardTest, ResigningSlidesItDownAndHidesIt) {
    m_first->becomeFirstResponder();
    advance(0.3);
    m_notes.clear();
    ASSERT_TRUE(m_first->resignFirstResponder());
    EXPECT_EQ(notes(), "willHide 0,264,320,216>0,480,320,216");
    EXPECT_FALSE(keyboard().isShown());
    EXPECT_EQ(keyboard().field(), nullptr);
    advance(0.3);
    EXPECT_EQ(notes(), "willHide 0,264,320,216>0,480,320,216 | didHide 0,264,320,216>0,480,320,216");
    EXPECT_TRUE(keyboard().hidden());
}

TEST_F(KeyboardTest, MovingToAnotherFieldKeepsTheKeyboardUp) {
    m_first->becomeFirstResponder();
    advance(0.3);
    m_notes.clear();
    ASSERT_TRUE(m_second->becomeFirstResponder());
    EXPECT_FALSE(m_first->isEditing());
    EXPECT_TRUE(m_second->isEditing());
    EXPECT_EQ(keyboard().field(), m_second);
    EXPECT_EQ(notes(), "willShow 0,264,320,216>0,264,320,216 | didShow 0,264,320,216>0,264,320,216");
    advance(0.3);
    EXPECT_FALSE(notes().contains("Hide"));
    EXPECT_FALSE(keyboard().hidden());
}

TEST_F(KeyboardTest, HidingBeforeTheSlideEndsSkipsTheDidShow) {
    m_first->becomeFirstResponder();
    advance(0.1);
    m_first->resignFirstResponder();
    advance(0.5);
    EXPECT_EQ(notes(), "willShow 0,480,320,216>0,264,320,216 | willHide 0,264,320,216>0,480,320,216 | "
                       "didHide 0,264,320,216>0,480,320,216");
}

TEST_F(KeyboardTest, LandscapeUsesTheWideShortKeyboard) {
    ASSERT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::LandscapeRight));
    m_first->becomeFirstResponder();
    EXPECT_EQ(notes(), "willShow 0,320,480,162>0,158,480,162");
    advance(0.3);
    const Keyboard::Key* space = keyboard().keyWithTitle("space");
    ASSERT_NE(space, nullptr);
    EXPECT_GT(space->frame.width(), 200.0);
    EXPECT_LT(space->frame.maxY(), 162.0);
    keepPng(*m_window, "keyboard-landscape.png");
    // Turning back while up moves it to the portrait place at once.
    ASSERT_TRUE(m_window->rotateToOrientation(InterfaceOrientation::Portrait));
    EXPECT_EQ(keyboard().frame(), Rect(0, 264, 320, 216));
    advance(1.0);
}

TEST_F(KeyboardTest, TheTabletKeyboardIsTaller) {
    Screen::main().setIdiom(Screen::Idiom::Tablet);
    const double portrait = Keyboard::heightForLandscape(false);
    const double landscape = Keyboard::heightForLandscape(true);
    Screen::main().setIdiom(Screen::Idiom::Phone);
    EXPECT_EQ(portrait, 264.0);
    EXPECT_EQ(landscape, 352.0);
    EXPECT_EQ(Keyboard::heightForLandscape(false), 216.0);
    EXPECT_EQ(Keyboard::heightForLandscape(true), 162.0);
}

TEST_F(KeyboardTest, TappingTheFieldBringsTheKeyboardAndKeysTypeIntoIt) {
    m_first->setAutocapitalizationType(TextField::AutocapitalizationType::Sentences);
    tap(Point(100, 45));
    ASSERT_TRUE(m_first->isEditing());
    advance(0.3);
    EXPECT_TRUE(keyboard().isShifted());
    tapKey("H");
    EXPECT_FALSE(keyboard().isShifted());
    tapKey("I");
    tapKey("space");
    tapKey("T");
    tapKey("delete");
    tapKey(".?123");
    EXPECT_TRUE(keyboard().showsNumbers());
    tapKey("4");
    EXPECT_EQ(m_first->text(), "Hi 4");
}

TEST_F(KeyboardTest, TheReturnKeyCarriesTheFieldsTitleAndEndsEditing) {
    m_second->setReturnKeyType(TextField::ReturnKeyType::Search);
    int exits = 0;
    m_second->onEditingDidEndOnExit = [&] { ++exits; };
    m_second->becomeFirstResponder();
    advance(0.3);
    EXPECT_EQ(keyboard().keyWithTitle("return"), nullptr);
    ASSERT_NE(keyboard().keyWithTitle("Search"), nullptr);
    tapKey("Search");
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(m_second->isEditing());
    EXPECT_TRUE(notes().contains("willHide"));
}

TEST_F(KeyboardTest, AFieldTakenOutOfTheWindowGivesTheKeyboardUp) {
    m_first->becomeFirstResponder();
    advance(0.3);
    m_first->removeFromSuperview();
    EXPECT_EQ(m_window->firstResponder(), nullptr);
    EXPECT_FALSE(m_first->isEditing());
    EXPECT_FALSE(keyboard().isShown());
}

TEST_F(KeyboardTest, DrawsUnderTheField) {
    m_root->setBackgroundColor(Color(0.85, 0.87, 0.9));
    m_first->setBorderStyle(TextField::BorderStyle::RoundedRect);
    m_first->setPlaceholder("Search");
    m_first->setReturnKeyType(TextField::ReturnKeyType::Search);
    m_first->becomeFirstResponder();
    advance(0.3);
    m_first->insertText("Dentist");
    const Image image = m_window->renderToImage(2.0);
    keepPng(*m_window, "keyboard.png");
    // A letter key is light, the blue Search key blue, the background between keys grey-blue.
    const Rect q = keyboard().keyWithTitle("Q")->frame.offset(0, 264);
    EXPECT_GT(image.colorAtPoint(Point(q.minX() + 4, q.minY() + 4)).red(), 0.9);
    const Rect search = keyboard().keyWithTitle("Search")->frame.offset(0, 264);
    const Color blue = image.colorAtPoint(Point(search.minX() + 6, search.maxY() - 6));
    EXPECT_GT(blue.blue(), 0.7);
    EXPECT_LT(blue.red(), 0.4);
}

} // namespace

namespace {

TEST_F(KeyboardTest, TypingOnTheComputerKeepsTheShiftStateInStep) {
    m_first->setAutocapitalizationType(TextField::AutocapitalizationType::Words);
    m_first->becomeFirstResponder();
    EXPECT_TRUE(keyboard().isShifted());
    KeyInput input;
    input.key = Qt::Key_A;
    input.text = "a";
    m_window->keyInput(input);
    EXPECT_FALSE(keyboard().isShifted());
    input.key = Qt::Key_Space;
    input.text = " ";
    m_window->keyInput(input);
    EXPECT_TRUE(keyboard().isShifted());
}

} // namespace

namespace {

TEST_F(KeyboardTest, TheKeyboardComesUpInFrontOfLaterViews) {
    m_first->becomeFirstResponder();
    advance(0.3);
    m_first->resignFirstResponder();
    advance(0.3);
    auto cover = std::make_shared<View>(Rect(0, 0, 320, 480));
    m_window->addSubview(cover);
    m_second->becomeFirstResponder();
    EXPECT_EQ(m_window->subviews().back().get(), &keyboard());
    advance(0.3);
}

} // namespace

namespace {

class ResponderRow : public View {
public:
    using View::View;
    bool canBecomeFirstResponder() override { return true; }
};

TEST_F(KeyboardTest, AnotherKindOfFirstResponderSendsTheKeyboardAway) {
    auto row = std::make_shared<ResponderRow>(Rect(0, 100, 320, 44));
    auto loose = std::make_shared<ResponderRow>(Rect(0, 0, 10, 10));
    EXPECT_FALSE(loose->becomeFirstResponder()) << "outside a window";
    m_root->addSubview(row);
    EXPECT_FALSE(std::make_shared<View>()->becomeFirstResponder());
    m_first->becomeFirstResponder();
    advance(0.3);
    m_notes.clear();
    ASSERT_TRUE(row->becomeFirstResponder());
    EXPECT_TRUE(row->isFirstResponder());
    EXPECT_FALSE(m_first->isEditing());
    EXPECT_EQ(notes(), "willHide 0,264,320,216>0,480,320,216");
    advance(0.3);
}

} // namespace
