#pragma once

#include "ui/week/WeekScreenTestSupport.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "kit/ActionSheet.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/DatePicker.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/Label.h"
#include "kit/TextField.h"
#include "kit/Window.h"
#include "ui/editor/AllDaySwitch.h"
#include "ui/editor/DeleteButton.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/editor/EventDetailsViewControllerDelegate.h"
#include "ui/editor/InsetTextField.h"
#include "ui/eventkit/EKEventEditViewController.h"
#include "ui/week/DayViewController.h"

#include <QStringList>

#include <memory>

// Hears the editor's reports as short lines ("saved new=1 spans=0", "moved", "deleted id
// recurring=1", "toggle") and passes each on to the week screen.
class EditorReportLog : public EventDetailsViewControllerDelegate {
public:
    explicit EditorReportLog(std::weak_ptr<WeekScrollViewController> screen) : m_screen(std::move(screen)) {}

    void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spans, bool delayed) override {
        lines.append(QStringLiteral("saved new=%1 spans=%2").arg(int(isNew)).arg(int(spans)));
        if (auto screen = m_screen.lock()) {
            screen->eventSaved(event, isNew, spans, delayed);
        }
    }
    void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) override {
        lines.append(copied ? QStringLiteral("copied") : QStringLiteral("moved"));
        if (auto screen = m_screen.lock()) {
            screen->eventCopiedOrMoved(event, copied);
        }
    }
    void eventDeleted(const QString& identifier, bool recurring) override {
        lines.append(QStringLiteral("deleted recurring=%1").arg(int(recurring)));
        if (auto screen = m_screen.lock()) {
            screen->eventDeleted(identifier, recurring);
        }
    }
    void toggleMovingEventMode() override {
        lines.append(QStringLiteral("toggle"));
        if (auto screen = m_screen.lock()) {
            screen->toggleMovingEventMode();
        }
    }

    QStringList lines;

private:
    std::weak_ptr<WeekScrollViewController> m_screen;
};

// The week screen with its editor, driven by touches and typing.
class EditorScreen : public WeekScreen {
public:
    // The window's top edge of the area below the navigation bar.
    static constexpr double contentTop = 64.0;

    EditorScreen() {
        launch();
        editor = screen->getOrCreateEventDetailsController();
        reports = std::make_shared<EditorReportLog>(screen);
        editor->setDelegate(reports);
    }

    // An empty part of the day box of the current week's weekday (0 = Monday .. 4 = Friday).
    void tapDay(int weekday) {
        const double x = weekday < 3 ? 80 : 240;
        const double y = contentTop + 1 + (weekday % 3) * 138.5 + 120;
        harness.tap(Point(x, y));
        settle();
    }

    void openEvent(const std::shared_ptr<EKEvent>& event) {
        ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(event, event->startDate(),
                                                                                  nullptr);
        settle();
    }

    // Typing on the computer's keyboard into the first responder.
    void type(const QString& text) { harness.type(text); }
    void pressReturn() {
        KeyInput input;
        input.key = Qt::Key_Return;
        harness.window().keyInput(input);
        settle();
    }

    void chooseInSheet(ActionSheet& sheet, const QString& title) {
        for (int index = 0; index < sheet.numberOfButtons(); ++index) {
            if (sheet.buttonTitleAtIndex(index) == title) {
                tapView(*sheet.buttons().at(static_cast<std::size_t>(index)));
                return;
            }
        }
        ADD_FAILURE() << "no button " << title.toStdString();
    }

    // The action sheet on screen, or null.
    std::shared_ptr<ActionSheet> shownSheet() { return findSheet(harness.window()); }
    static std::shared_ptr<ActionSheet> findSheet(View& view) {
        for (const auto& subview : view.subviews()) {
            if (auto sheet = std::dynamic_pointer_cast<ActionSheet>(subview); sheet && sheet->isVisible()) {
                return sheet;
            }
            if (auto sheet = findSheet(*subview)) {
                return sheet;
            }
        }
        return nullptr;
    }

    bool editorOnTop() { return navigation->topViewController() == editor; }

    std::shared_ptr<EventDetailsViewController> editor;
    std::shared_ptr<EditorReportLog> reports;
};
