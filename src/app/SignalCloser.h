#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a request to close the main window, so that
// whatever runs is halted first, the usual shutdown runs and the settings
// are written. The signal handler only writes a byte to a socket pair; the
// event loop does the rest. Every signal is passed on: the window decides
// what a repeated request means (during a halt: nothing).
class SignalCloser : public QObject
{
    Q_OBJECT
public:
    SignalCloser(QObject* parent, std::function<void()> close);
    ~SignalCloser() override;

private:
    static void onSignal(int signal);
    void onReadable();

    std::function<void()> m_close;
    QSocketNotifier* m_notifier = nullptr;
    static int s_fds[2];
};
