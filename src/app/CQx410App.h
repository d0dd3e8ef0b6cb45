#pragma once

#include "ControlLayer.h"
#include "MainFrameState.h"
#include "QtPrompts.h"
#include "QtSerialPortDevice.h"
#include "SerialLink.h"
#include "SerialSettings.h"
#include "SystemClock.h"
#include "TracingPortDevice.h"

#include <QString>
#include <memory>

class ControlServer;
class ControlBackend;
class FrameProgramHost;
class PathRunner;
class CMainFrame;
class TraceFile;
class HelpWindow;
class InstanceLock;

// The application object: the serial settings shared by the whole program,
// and the start-up and shutdown order around the main window.
class CQx410App
{
public:
    CQx410App();
    ~CQx410App();

    // Start-up, the message loop, shutdown. Returns the exit status.
    int run();
    // Writes the serial traffic to path from now on; false (with the reason)
    // when the file cannot be written.
    bool traceTo(const QString& path, QString* why);

    // Where the user guide lives: installed beside the program, or next to
    // the sources while developing; empty when it is in neither place.
    static QString guidePath();
    // The folder of Qx410.ini, Qx410.ports and the window's lock (empty:
    // the current folder); set before run().
    void setSettingsFolder(const QString& folder);
    std::string settingsPath() const;

private:
    bool askPortInStartupMode();
    // Refuses a second window on the same settings folder: the message on
    // screen and on standard error, and false.
    bool takeInstanceLock();
    bool saveBindings(const PortNames::Bindings& bindings) const;
    void loadPortBindings();
    void connectSetupDialogs();
    void connectCapture();
    void connectControllerPrograms();
    void connectHostExecution();
    void shutdown();
    // The local server of the port held now: opened at start-up and again
    // whenever the port changes; closed at shutdown.
    void startServer();
    void connectServer();
    // Shows the Help window at a section (the top for an empty one).
    void showHelp(const QString& section);

    QString m_settingsFolder;
    std::unique_ptr<InstanceLock> m_instanceLock;
    SerialSettings m_serial;
    MainFrameState m_state;
    QtPrompts m_prompts;
    SystemClock m_clock;
    QtSerialPortDevice m_port;
    // Everything goes through here, so that the traffic can be watched.
    TracingPortDevice m_traced;
    SerialLink m_link;
    std::unique_ptr<TraceFile> m_trace;
    // The controller as every client sees it, over the link above.
    ControlLayer m_control;
    std::unique_ptr<CMainFrame> m_frame;
    // Move Along Path 1 and 2, with their messages owned by the view.
    std::unique_ptr<QtPrompts> m_viewPrompts;
    std::unique_ptr<PathRunner> m_paths;
    std::unique_ptr<HelpWindow> m_help;
    // Local clients (qx410ctl, scripts) reach the controller through here.
    std::unique_ptr<FrameProgramHost> m_serverPrograms;
    std::unique_ptr<ControlBackend> m_backend;
    std::unique_ptr<ControlServer> m_server;
    QString m_servedDevice;
    bool m_serverRefusalTold = false;
};
