#pragma once

#include "TouchTestSupport.h"
#include "testing/ManualRunLoop.h"
#include "kit/Application.h"
#include "kit/Keyboard.h"
#include "kit/MenuController.h"
#include "kit/NotificationCenter.h"
#include "kit/TextField.h"
#include "kit/Window.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <memory>

inline QString rectString(const Rect& rect) {
    return QStringLiteral("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

// A key window with a manual main loop and an application, for tests of the text field, the
// keyboard and the edit menu. Every notification of the default centre is logged in short:
// keyboard ones with their frames ("willShow 0,480,320,216>0,264,320,216"), others by name.
class TextInputFixture : public testing::Test {
protected:
    TextInputFixture() {
        RunLoop::setMain(m_loop);
        m_window->makeKeyAndVisible();
        m_window->setRootView(m_root);
        m_window->layoutIfNeeded();
        NotificationCenter::defaultCenter().addObserver(this, QString(), [this](const Notification& note) {
            QString name = note.name();
            name.remove(QStringLiteral("UIKeyboard")).remove(QStringLiteral("UIMenuController"));
            name.remove(QStringLiteral("Notification"));
            name[0] = name[0].toLower();
            if (const auto begin = note.rectValue(Keyboard::frameBeginUserInfoKey)) {
                name += QLatin1Char(' ') + rectString(*begin) + QLatin1Char('>') +
                        rectString(note.rectValue(Keyboard::frameEndUserInfoKey).value_or(Rect()));
            }
            m_notes.append(name);
        });
    }

    ~TextInputFixture() override {
        MenuController::sharedMenuController().setMenuVisible(false);
        MenuController::sharedMenuController().setTargetRect(Rect(), nullptr);
        NotificationCenter::defaultCenter().removeObserver(this);
        m_window.reset();
        m_loop->runUntilIdle();
        RunLoop::setMain(nullptr);
    }

    std::shared_ptr<TextField> addField(const Rect& frame) {
        auto field = std::make_shared<TextField>(frame);
        m_root->addSubview(field);
        return field;
    }

    // A tap at a point of the window.
    void tap(Point point) {
        m_window->fingerDown(0, point);
        m_window->fingerUp(0, point);
    }
    void advance(double seconds) { m_loop->advance(seconds); }
    QString notes() const { return m_notes.join(QStringLiteral(" | ")); }

    static void keepPng(View& view, const QString& name) { SamplePictures::keep(view.renderToImage(), name); }

    std::shared_ptr<ManualRunLoop> m_loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1000.0));
    Application m_application;
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    std::shared_ptr<View> m_root = std::make_shared<View>();
    QStringList m_notes;
};
