// Keeps a window drawn while a long loop runs on the user-interface thread:
// call it after each step; at most every interval it lets Qt handle pending
// paints and window-system events (an expose, the window manager's ping),
// never the user's input, so the loop cannot be re-entered by a click.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

class ProgressPacer {
public:
    explicit ProgressPacer(int intervalMs = 30) : intervalMs_(intervalMs) {}

    void operator()() {
        if (timer_.isValid() && timer_.elapsed() < intervalMs_)
            return;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        timer_.start();
    }

private:
    int intervalMs_;
    QElapsedTimer timer_;
};
