// The one guard: every handler and every window-creation step runs inside it,
// so no exception ever crosses a Qt frame. What the step changed before it
// failed stays changed.
#pragma once

#include "toolkit/apperror.h"
#include "toolkit/messages.h"

#include <QObject>
#include <exception>

template <typename Step>
void guard(Step &&step) noexcept
{
    try {
        step();
    } catch (const AppError &error) {
        messages::showerror(error.message());
    } catch (const std::exception &error) {
        messages::showerror(QString::fromUtf8(error.what()));
    } catch (...) {
        messages::showerror(QStringLiteral("未知错误"));
    }
}

// Connects a signal to a named handler of a window, running it inside the guard.
template <typename Sender, typename Signal, typename Window>
void connecthandler(Sender *sender, Signal signal, Window *window, void (Window::*handler)())
{
    QObject::connect(sender, signal, window, [window, handler] { guard([&] { (window->*handler)(); }); });
}
