#include "kit/TextField.h"
#include "TextInputTestSupport.h"
#include "kit/Button.h"
#include "kit/KeyInput.h"
#include "kit/Switch.h"
#include "kit/TextFieldDelegate.h"
#include "kit/TextLayout.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

KeyInput press(int key, const QString& text = QString(), int modifiers = 0) {
    KeyInput input;
    input.type = KeyInput::Type::Press;
    input.key = key;
    input.text = text;
    input.modifiers = modifiers;
    return input;
}

// Records what the field asks and tells, and answers as told.
class RecordingFieldDelegate : public TextFieldDelegate {
public:
    bool textFieldShouldBeginEditing(TextField&) override {
        log << "shouldBegin";
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField&) override { log << "didBegin"; }
    bool textFieldShouldEndEditing(TextField&) override {
        log << "shouldEnd";
        return allowEnd;
    }
    void textFieldDidEndEditing(TextField&) override { log << "didEnd"; }
    bool textFieldShouldChangeCharactersInRange(TextField& field, TextRange range,
                                                const QString& replacement) override {
        log << QStringLiteral("change(%1,%2,'%3' of '%4')")
                   .arg(range.location)
                   .arg(range.length)
                   .arg(replacement, field.text());
        return !replacement.contains(QLatin1Char('1'));
    }
    bool textFieldShouldClear(TextField&) override {
        log << "shouldClear";
        return allowClear;
    }
    bool textFieldShouldReturn(TextField&) override {
        log << "shouldReturn";
        return allowReturn;
    }

    QStringList log;
    bool allowBegin = true;
    bool allowEnd = true;
    bool allowClear = true;
    bool allowReturn = true;
};

class TextFieldTest : public TextInputFixture {
protected:
    TextFieldTest() {
        m_field->setDelegate(m_delegate);
        m_field->onEditingChanged = [this] { ++m_changes; };
    }

    void type(const QString& text) {
        for (const QChar character : text) {
            m_window->keyInput(press(character.isLetter() ? Qt::Key_A + (character.toUpper().unicode() - 'A')
                                                          : Qt::Key_unknown,
                                     QString(character)));
        }
    }

    std::shared_ptr<TextField> m_field = addField(Rect(10, 10, 200, 31));
    std::shared_ptr<RecordingFieldDelegate> m_delegate = std::make_shared<RecordingFieldDelegate>();
    int m_changes = 0;
};

TEST_F(TextFieldTest, TypingReachesTheFirstResponderAndIsReported) {
    EXPECT_FALSE(m_window->keyInput(press(Qt::Key_A, "a")));
    EXPECT_EQ(m_field->text(), "");
    ASSERT_TRUE(m_field->becomeFirstResponder());
    EXPECT_TRUE(m_field->isEditing());
    type("abc");
    EXPECT_EQ(m_field->text(), "abc");
    EXPECT_EQ(m_changes, 3);
    EXPECT_EQ(m_field->selectedRange(), (TextRange{3, 0}));
    EXPECT_EQ(m_delegate->log.join(' '), "shouldBegin didBegin change(0,0,'a' of '') change(1,0,'b' of 'a') "
                                         "change(2,0,'c' of 'ab')");
}

TEST_F(TextFieldTest, SelectingAndDeletingGoThroughTheLineEdit) {
    m_field->setText("hello world");
    ASSERT_TRUE(m_field->becomeFirstResponder());
    EXPECT_EQ(m_field->selectedRange(), (TextRange{11, 0}));
    // Five times Shift + Left selects "world"; Backspace removes it.
    for (int i = 0; i < 5; ++i) {
        m_window->keyInput(press(Qt::Key_Left, QString(), Qt::ShiftModifier));
    }
    EXPECT_EQ(m_field->selectedRange(), (TextRange{6, 5}));
    m_delegate->log.clear();
    m_window->keyInput(press(Qt::Key_Backspace));
    EXPECT_EQ(m_field->text(), "hello ");
    EXPECT_EQ(m_delegate->log.join(' '), "change(6,5,'' of 'hello world')");
    m_window->keyInput(press(Qt::Key_Home));
    m_window->keyInput(press(Qt::Key_Delete));
    EXPECT_EQ(m_field->text(), "ello ");
    EXPECT_EQ(m_changes, 2);
    m_window->keyInput(press(Qt::Key_A, QString(), Qt::ControlModifier));
    EXPECT_EQ(m_field->selectedRange(), (TextRange{0, 5}));
}

TEST_F(TextFieldTest, CopyAndPasteUseTheClipboard) {
    m_field->setText("Dentist");
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_window->keyInput(press(Qt::Key_A, QString(), Qt::ControlModifier));
    m_window->keyInput(press(Qt::Key_C, QString(), Qt::ControlModifier));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Dentist");
    m_window->keyInput(press(Qt::Key_End));
    m_window->keyInput(press(Qt::Key_V, QString(), Qt::ControlModifier));
    EXPECT_EQ(m_field->text(), "DentistDentist");
    QGuiApplication::clipboard()->setText(" at 9");
    m_field->paste();
    EXPECT_EQ(m_field->text(), "DentistDentist at 9");
    m_field->setSelectedRange(TextRange{0, 7});
    m_field->cut();
    EXPECT_EQ(m_field->text(), "Dentist at 9");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Dentist");
    EXPECT_EQ(m_changes, 3);
}

TEST_F(TextFieldTest, AVetoedChangeLeavesTextAndCursorAsTheyWere) {
    m_field->setText("ab");
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_field->setSelectedRange(TextRange{1, 0});
    type("1");
    EXPECT_EQ(m_field->text(), "ab");
    EXPECT_EQ(m_field->selectedRange(), (TextRange{1, 0}));
    EXPECT_EQ(m_changes, 0);
    QGuiApplication::clipboard()->setText("x1");
    m_window->keyInput(press(Qt::Key_V, QString(), Qt::ControlModifier));
    EXPECT_EQ(m_field->text(), "ab");
    type("x");
    EXPECT_EQ(m_field->text(), "axb");
    EXPECT_EQ(m_field->selectedRange(), (TextRange{2, 0}));
    EXPECT_EQ(m_changes, 1);
}

TEST_F(TextFieldTest, SecureEntryShowsDotsAndRefusesToCopy) {
    m_field->setSecureTextEntry(true);
    ASSERT_TRUE(m_field->becomeFirstResponder());
    type("abc");
    EXPECT_EQ(m_field->text(), "abc");
    EXPECT_NE(m_field->displayText(), "abc");
    EXPECT_EQ(m_field->displayText().size(), 3);
    m_field->selectAll();
    EXPECT_FALSE(m_field->canPerformAction("copy"));
    QGuiApplication::clipboard()->setText("unchanged");
    m_field->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "unchanged");
}

TEST_F(TextFieldTest, AnInputMethodCommitsItsText) {
    ASSERT_TRUE(m_field->becomeFirstResponder());
    KeyInput composing;
    composing.type = KeyInput::Type::InputMethod;
    composing.preeditString = "e";
    m_window->keyInput(composing);
    EXPECT_EQ(m_field->text(), "");
    EXPECT_EQ(m_field->markedText(), "e");
    KeyInput commit;
    commit.type = KeyInput::Type::InputMethod;
    commit.commitString = QString(QChar(0xE9));
    m_window->keyInput(commit);
    EXPECT_EQ(m_field->text(), QString(QChar(0xE9)));
    EXPECT_EQ(m_field->markedText(), "");
    EXPECT_EQ(m_changes, 1);
}

TEST_F(TextFieldTest, TheDelegateDecidesAboutBeginningAndEnding) {
    m_delegate->allowBegin = false;
    EXPECT_FALSE(m_field->becomeFirstResponder());
    EXPECT_FALSE(m_field->isEditing());
    m_delegate->allowBegin = true;
    m_field->setEnabled(false);
    EXPECT_FALSE(m_field->becomeFirstResponder());
    m_field->setEnabled(true);
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_delegate->allowEnd = false;
    EXPECT_FALSE(m_field->resignFirstResponder());
    EXPECT_TRUE(m_field->isFirstResponder());
    m_delegate->allowEnd = true;
    EXPECT_TRUE(m_field->resignFirstResponder());
    EXPECT_FALSE(m_field->isEditing());
    EXPECT_EQ(m_delegate->log.join(' '), "shouldBegin shouldBegin didBegin shouldEnd shouldEnd didEnd");
}

TEST_F(TextFieldTest, DisablingTheEditingFieldEndsEditing) {
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_field->setEnabled(false);
    EXPECT_FALSE(m_field->isFirstResponder());
    EXPECT_EQ(m_window->firstResponder(), nullptr);
}

TEST_F(TextFieldTest, TheClearButtonShowsAsItsModeSaysAndOnlyWithText) {
    struct Case {
        TextField::ViewMode mode;
        bool idle;
        bool editing;
    };
    const Case cases[] = {{TextField::ViewMode::Never, false, false},
                          {TextField::ViewMode::WhileEditing, false, true},
                          {TextField::ViewMode::UnlessEditing, true, false},
                          {TextField::ViewMode::Always, true, true}};
    for (const Case& c : cases) {
        m_field->setClearButtonMode(c.mode);
        m_field->setText("");
        EXPECT_FALSE(m_field->isClearButtonVisible());
        m_field->setText("x");
        EXPECT_EQ(m_field->isClearButtonVisible(), c.idle) << int(c.mode);
        ASSERT_TRUE(m_field->becomeFirstResponder());
        EXPECT_EQ(m_field->isClearButtonVisible(), c.editing) << int(c.mode);
        ASSERT_TRUE(m_field->resignFirstResponder());
    }
}

TEST_F(TextFieldTest, TappingTheClearButtonClearsUnlessTheDelegateRefuses) {
    m_field->setClearButtonMode(TextField::ViewMode::Always);
    m_field->setText("lunch");
    const Rect button = m_field->clearButtonRectForBounds(m_field->bounds());
    EXPECT_EQ(button, Rect(200 - 19, 6, 19, 19));
    const Point center = m_field->convertPointToView(button.center(), m_window.get());
    m_delegate->allowClear = false;
    tap(center);
    EXPECT_EQ(m_field->text(), "lunch");
    EXPECT_FALSE(m_field->isEditing());
    m_delegate->allowClear = true;
    tap(center);
    EXPECT_EQ(m_field->text(), "");
    EXPECT_TRUE(m_field->isEditing());
    EXPECT_EQ(m_changes, 1);
    EXPECT_EQ(m_delegate->log.join(' '), "shouldClear shouldClear shouldBegin didBegin");
}

TEST_F(TextFieldTest, TheTextAreaMakesRoomForTheLeftViewAndTheClearButton) {
    m_field->setBorderStyle(TextField::BorderStyle::RoundedRect);
    EXPECT_EQ(m_field->textRectForBounds(m_field->bounds()), Rect(8, 4, 184, 23));
    m_field->setLeftView(std::make_shared<View>(Rect(0, 0, 20, 15)));
    m_field->setLeftViewMode(TextField::ViewMode::Always);
    m_field->setClearButtonMode(TextField::ViewMode::Always);
    m_field->setText("x");
    EXPECT_EQ(m_field->leftViewRectForBounds(m_field->bounds()), Rect(8, 8, 20, 15));
    EXPECT_EQ(m_field->textRectForBounds(m_field->bounds()), Rect(32, 4, 200 - 5 - 19 - 32, 23));
    m_field->layoutIfNeeded();
    EXPECT_EQ(m_field->leftView()->frame(), Rect(8, 8, 20, 15));
    m_field->setLeftViewMode(TextField::ViewMode::WhileEditing);
    m_field->layoutIfNeeded();
    EXPECT_TRUE(m_field->leftView()->hidden());
}

TEST_F(TextFieldTest, ReturnAsksTheDelegateAndEndsEditingOnExit) {
    int exits = 0;
    m_field->onEditingDidEndOnExit = [&] { ++exits; };
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_delegate->allowReturn = false;
    m_window->keyInput(press(Qt::Key_Return));
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(m_field->isEditing());
    m_delegate->allowReturn = true;
    m_field->setEnablesReturnKeyAutomatically(true);
    m_window->keyInput(press(Qt::Key_Return));
    EXPECT_EQ(exits, 0) << "no text, so Return is off";
    type("a");
    m_window->keyInput(press(Qt::Key_Enter));
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(m_field->isEditing());
}

TEST_F(TextFieldTest, ATapBeginsEditingAndAnotherPlacesTheCursor) {
    m_field->setText("abcdef");
    const Rect area = m_field->textRectForBounds(m_field->bounds());
    tap(m_field->convertPointToView(area.center(), m_window.get()));
    ASSERT_TRUE(m_field->isEditing());
    EXPECT_EQ(m_field->selectedRange(), (TextRange{6, 0}));
    const double afterTwo = TextLayout::advance("ab", m_field->font());
    tap(m_field->convertPointToView(Point(area.x() + afterTwo + 1, area.midY()), m_window.get()));
    EXPECT_EQ(m_field->selectedRange(), (TextRange{2, 0}));
    type("X");
    EXPECT_EQ(m_field->text(), "abXcdef");
}

TEST_F(TextFieldTest, ATapOnTheCursorOffersTheEditMenu) {
    m_field->setText("one two");
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(m_field->becomeFirstResponder());
    m_field->setSelectedRange(TextRange{2, 0});
    const Rect area = m_field->editingRectForBounds(m_field->bounds());
    const Point cursor(area.x() + TextLayout::advance("on", m_field->font()), area.midY());
    tap(m_field->convertPointToView(cursor, m_window.get()));
    MenuController& menu = MenuController::sharedMenuController();
    ASSERT_TRUE(menu.isMenuVisible());
    QStringList titles;
    for (const MenuItem& item : menu.menuItems()) {
        titles << item.title();
    }
    EXPECT_EQ(titles.join(','), "Select,Select All");
    menu.menuItems()[0].action()();
    EXPECT_EQ(m_field->selectedRange(), (TextRange{0, 3}));
}

TEST_F(TextFieldTest, DrawsPlaceholderTextAndTheClearButton) {
    m_root->setBackgroundColor(Color(0.6, 0.65, 0.75));
    const TextField::BorderStyle styles[] = {TextField::BorderStyle::None, TextField::BorderStyle::Line,
                                             TextField::BorderStyle::Bezel,
                                             TextField::BorderStyle::RoundedRect};
    std::vector<std::shared_ptr<TextField>> fields;
    double y = 60;
    for (const TextField::BorderStyle style : styles) {
        auto field = addField(Rect(20, y, 280, 31));
        field->setBorderStyle(style);
        field->setPlaceholder("Title");
        field->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
        fields.push_back(field);
        auto filled = addField(Rect(20, y + 40, 280, 31));
        filled->setBorderStyle(style);
        filled->setText("Dentist appointment");
        filled->setClearButtonMode(TextField::ViewMode::Always);
        filled->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
        if (style == TextField::BorderStyle::None) {
            filled->setBackgroundColor(Color(1, 1, 1));
        }
        y += 90;
    }
    fields.back()->becomeFirstResponder();
    fields.back()->insertText("Lunch");
    const Image image = m_root->renderToImage(2.0);
    keepPng(*m_root, "textfield-styles.png");
    // The rounded field is white inside and grey at its edge, and the clear button grey.
    const Rect rounded = fields.back()->frame();
    EXPECT_GT(image.colorAtPoint(Point(rounded.maxX() - 30, rounded.midY())).red(), 0.95);
    EXPECT_LT(image.colorAtPoint(Point(rounded.minX() + 20, rounded.minY() + 0.6)).red(), 0.8);
    const Rect withClear = m_root->subviews().back()->frame();
    const Color clear = image.colorAtPoint(Point(withClear.maxX() - 5 - 9.5 - 5, withClear.midY()));
    EXPECT_NEAR(clear.red(), 0.66, 0.05);
}

} // namespace

namespace {

TEST_F(TextFieldTest, UndoTakesBackAnAcceptedChange) {
    m_field->setText("ab");
    ASSERT_TRUE(m_field->becomeFirstResponder());
    type("c");
    EXPECT_EQ(m_field->text(), "abc");
    m_window->keyInput(press(Qt::Key_Z, QString(), Qt::ControlModifier));
    EXPECT_EQ(m_field->text(), "ab");
    EXPECT_EQ(m_changes, 2);
}

} // namespace

TEST_F(TextFieldTest, TabGoesToTheNextFieldInReadingOrderAndShiftTabBack) {
    auto right = addField(Rect(220, 10, 90, 31));
    auto below = addField(Rect(10, 60, 200, 31));
    auto hidden = addField(Rect(10, 110, 200, 31));
    hidden->setHidden(true);
    const auto tab = [this](int modifiers = 0) {
        return m_window->keyInput(press(Qt::Key_Tab, QString(), modifiers));
    };
    ASSERT_TRUE(tab());
    EXPECT_TRUE(m_field->isEditing());
    tab();
    EXPECT_TRUE(right->isEditing());
    tab();
    EXPECT_TRUE(below->isEditing());
    tab();
    EXPECT_TRUE(m_field->isEditing());
    tab(Qt::ShiftModifier);
    EXPECT_TRUE(below->isEditing());
    EXPECT_FALSE(hidden->isEditing());
}

TEST_F(TextFieldTest, TabReachesButtonsAndSwitchesThatSpaceAndReturnWork) {
    auto button = std::make_shared<Button>(Rect(10, 60, 100, 40));
    int pressed = 0;
    button->onTouchUpInside = [&] { ++pressed; };
    auto inert = std::make_shared<Button>(Rect(120, 60, 100, 40)); // no action: not reached
    auto toggle = std::make_shared<Switch>(Rect(10, 110, 0, 0));
    m_root->addSubview(button);
    m_root->addSubview(inert);
    m_root->addSubview(toggle);
    const auto key = [this](int code, int modifiers = 0) {
        return m_window->keyInput(press(code, QString(), modifiers));
    };
    key(Qt::Key_Tab);
    ASSERT_TRUE(m_field->isEditing());
    key(Qt::Key_Tab);
    EXPECT_TRUE(button->isFirstResponder());
    EXPECT_FALSE(m_field->isEditing());
    const std::shared_ptr<View> ring = button->subviews().back();
    EXPECT_EQ(ring->frame(), button->bounds());
    EXPECT_TRUE(key(Qt::Key_Space));
    EXPECT_TRUE(key(Qt::Key_Return));
    EXPECT_EQ(pressed, 2);
    key(Qt::Key_Tab);
    EXPECT_TRUE(toggle->isFirstResponder());
    EXPECT_FALSE(ring->superview());
    EXPECT_TRUE(key(Qt::Key_Space));
    EXPECT_TRUE(toggle->on());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(button->isFirstResponder());
    key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(m_field->isEditing());
}
