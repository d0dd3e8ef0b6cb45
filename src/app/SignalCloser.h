#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// Turns SIGINT and SIGTERM into closing a window, the way File, Exit does,
// so that the usual shutdown runs and the settings are written. The signal
// handler only writes a byte to a socket pair; the event loop does the rest.
class SignalCloser : public QObject
{
    Q_OBJECT
public:
    explicit SignalCloser(QWidget* window);
    ~SignalCloser() override;

private:
    static void onSignal(int signal);
    void onReadable();

    QWidget* m_window;
    QSocketNotifier* m_notifier = nullptr;
    static int s_fds[2];
};
