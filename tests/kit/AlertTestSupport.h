#pragma once

#include "testing/ManualRunLoop.h"
#include "kit/Application.h"
#include "kit/Screen.h"
#include "kit/View.h"
#include "kit/Window.h"

#include "SamplePictures.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdlib>
#include <memory>

// A key window on a manual clock, with a root view, and touches made at window points as the
// window host makes them.
class KeyWindowTest : public testing::Test {
protected:
    void SetUp() override {
        RunLoop::setMain(m_loop);
        m_window = std::make_shared<Window>();
        m_window->makeKeyAndVisible();
        m_window->setRootView(m_root);
    }
    void TearDown() override {
        settle();
        m_window.reset();
        m_loop->runUntilIdle();
        RunLoop::setMain(nullptr);
        Screen::main().setIdiom(Screen::Idiom::Phone);
    }

    // Lets every running animation end.
    void settle() { m_loop->advance(2.0); }
    void tap(Point point) {
        m_window->fingerDown(0, point);
        m_loop->advance(0.05);
        m_window->fingerUp(0, point);
    }
    // The centre of a view in window coordinates.
    Point centreInWindow(const View& view) const {
        return view.convertPointToView(Point(view.bounds().width() / 2, view.bounds().height() / 2),
                                       m_window.get());
    }
    void savePng(const QString& name) {
        SamplePictures::keep(m_window->renderToImage(Screen::main().scale()), name);
    }

    std::shared_ptr<ManualRunLoop> m_loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1'700'000'000.0));
    Application m_application;
    std::shared_ptr<Window> m_window;
    std::shared_ptr<View> m_root = std::make_shared<View>();
};
