#include "kit/Application.h"

#include "kit/NotificationCenter.h"
#include "kit/Window.h"

namespace {
Application* s_shared = nullptr;
}

bool ApplicationDelegate::didFinishLaunching(Application&) {
    return true;
}
void ApplicationDelegate::didBecomeActive(Application&) {}
void ApplicationDelegate::willResignActive(Application&) {}
void ApplicationDelegate::didEnterBackground(Application&) {}
void ApplicationDelegate::willEnterForeground(Application&) {}
void ApplicationDelegate::willTerminate(Application&) {}

Application::Application() {
    s_shared = this;
}

Application::~Application() {
    if (s_shared == this) {
        s_shared = nullptr;
    }
}

Application* Application::shared() {
    return s_shared;
}

void Application::sendEvent(const TouchEvent& event) {
    if (m_keyWindow != nullptr) {
        m_keyWindow->deliverEvent(event);
    }
}

void Application::finishLaunching() {
    if (m_state != State::NotLaunched) {
        return;
    }
    m_state = State::Inactive;
    if (m_delegate != nullptr) {
        m_delegate->didFinishLaunching(*this);
    }
}

void Application::becomeActive() {
    if (m_state == State::NotLaunched || m_state == State::Active) {
        return;
    }
    if (m_state == State::Background) {
        m_state = State::Inactive;
        if (m_delegate != nullptr) {
            m_delegate->willEnterForeground(*this);
        }
    }
    m_state = State::Active;
    if (m_delegate != nullptr) {
        m_delegate->didBecomeActive(*this);
    }
}

void Application::resignActive() {
    if (m_state != State::Active) {
        return;
    }
    m_state = State::Inactive;
    if (m_delegate != nullptr) {
        m_delegate->willResignActive(*this);
    }
    NotificationCenter::defaultCenter().postNotification(willResignActiveNotification, this);
}

void Application::enterBackground() {
    if (m_state == State::NotLaunched || m_state == State::Background) {
        return;
    }
    resignActive();
    m_state = State::Background;
    if (m_delegate != nullptr) {
        m_delegate->didEnterBackground(*this);
    }
}

void Application::terminate() {
    if (m_delegate != nullptr) {
        m_delegate->willTerminate(*this);
    }
    NotificationCenter::defaultCenter().postNotification(willTerminateNotification, this);
}
