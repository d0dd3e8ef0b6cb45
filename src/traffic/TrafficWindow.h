#pragma once

#include <QDockWidget>

class Prompts;
class QAction;
class QLabel;
class QMainWindow;
class QTableView;
class TracingPortDevice;
class TrafficLogModel;

// The dockable "Serial Traffic" window: every step of the serial exchange as
// it happens, the last 10 000 kept, with Clear and Save. It observes the port
// only while it is shown; closed, it costs the exchange nothing.
//
// Children carry object names for tests: "trafficTable",
// "clearTrafficButton", "saveTrafficButton", "trafficCount".
class TrafficWindow : public QDockWidget
{
    Q_OBJECT

public:
    static const QString titleText;

    TrafficWindow(TracingPortDevice& port, Prompts& prompts, QWidget* parent = nullptr);
    ~TrafficWindow() override;

    // Makes the window, docked at the bottom of window and hidden, and ties
    // it to the checkable menu item toggle (View, Serial Traffic).
    static TrafficWindow* install(QMainWindow* window, QAction* toggle, TracingPortDevice& port, Prompts& prompts);

    TrafficLogModel& model() { return *m_model; }
    // Asks for a file name and writes the lines there; false on Cancel or
    // when the file cannot be written (after saying so).
    bool save();

private:
    void observe(bool on);
    void showCount();

    TracingPortDevice& m_port;
    Prompts& m_prompts;
    TrafficLogModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    bool m_observing = false;
};
