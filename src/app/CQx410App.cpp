#include "CQx410App.h"

#include "AboutBox.h"
#include "CMainFrame.h"
#include "CQx410View.h"
#include "CaptureDialog.h"
#include "CommSetup.h"
#include "CommSetupDialog.h"
#include "ControlServer.h"
#include "Controller.h"
#include "ControlBackend.h"
#include "FrameProgramHost.h"
#include "HardwareSetup.h"
#include "HelpGuide.h"
#include "HelpKey.h"
#include "HelpWindow.h"
#include "InstanceLock.h"
#include "HardwareSetupDialog.h"
#include "HostExecutionDialog.h"
#include "MainActions.h"
#include "PathRunner.h"
#include "ResolutionDialog.h"
#include "ResolutionNote.h"
#include "ResolutionSetup.h"
#include "VelocityDialog.h"
#include "VelocitySetup.h"
#include "ManualMovePanel.h"
#include "SettingsFile.h"
#include "SettingsLoader.h"
#include "SignalCloser.h"
#include "SocketPath.h"
#include "PortBindingsStore.h"
#include "SettingsFolder.h"
#include "Qx410Version.h"
#include "TraceFile.h"
#include "TravelLimitsDialog.h"
#include "TravelLimitsSetup.h"
#include "TravelLimitsStartup.h"
#include "TrafficWindow.h"
#include "Units.h"

#include <QApplication>
#include <QPointer>
#include <QStatusBar>
#include <QEventLoop>
#include <QFileInfo>

#include <cstdio>

CQx410App::CQx410App()
    : m_traced(m_port, m_clock)
    , m_link(m_traced, m_clock, m_prompts, m_serial)
    , m_control(m_link, m_clock)
{
}

bool CQx410App::traceTo(const QString& path, QString* why)
{
    auto trace = std::make_unique<TraceFile>(path);
    if (!trace->isOpen()) {
        if (why)
            *why = trace->errorText();
        return false;
    }
    if (m_trace)
        m_traced.removeObserver(m_trace.get());
    m_trace = std::move(trace);
    m_traced.addObserver(m_trace.get());
    return true;
}

void CQx410App::loadPortBindings()
{
    const PortBindingsStore::Loaded loaded = PortBindingsStore::load(PortBindingsStore::path(m_settingsFolder));
    for (const QString& note : PortBindingsStore::notes(loaded))
        qWarning("%s", qPrintable(note));
    m_serial.portBindings = loaded.bindings;
}

CQx410App::~CQx410App() = default;

void CQx410App::setSettingsFolder(const QString& folder)
{
    m_settingsFolder = folder;
}

std::string CQx410App::settingsPath() const
{
    return SettingsFolder::file(m_settingsFolder, QString::fromLatin1(SettingsFile::fileName)).toStdString();
}

bool CQx410App::saveBindings(const PortNames::Bindings& bindings) const
{
    return PortBindingsStore::save(PortBindingsStore::path(m_settingsFolder), bindings);
}

bool CQx410App::takeInstanceLock()
{
    m_instanceLock = std::make_unique<InstanceLock>(m_settingsFolder);
    if (m_instanceLock->acquire())
        return true;
    const QString refusal = m_instanceLock->refusal();
    std::fprintf(stderr, "qx410: %s\n", qPrintable(refusal));
    m_prompts.message(refusal, QStringLiteral("Qx410"), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    return false;
}

QString CQx410App::settingsFolder() const
{
    return QFileInfo(QString::fromStdString(settingsPath())).absolutePath();
}

QString CQx410App::guidePath()
{
    return HelpGuide::locate(QCoreApplication::applicationDirPath(), QStringLiteral(QX410_DOCS_DIR));
}

void CQx410App::showHelp(const QString& section)
{
    if (!m_help) {
        m_help = std::make_unique<HelpWindow>(guidePath());
        // Closing the main window still ends the program.
        m_help->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_help->showSection(section);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

bool CQx410App::askPortInStartupMode()
{
    CommSetup setup(m_serial, m_link, m_prompts);
    setup.setSaveBindings([this](const PortNames::Bindings& b) { return saveBindings(b); });
    return setup.run([](const CommChoice& initial) { return CommSetupDialog::askWithDialog(nullptr, initial); });
}

int CQx410App::run()
{
    // One window per settings folder, before anything of the folder is read.
    if (!takeInstanceLock())
        return 1;
    // Main-window construction: settings first, the port last.
    loadPortBindings();
    SettingsLoader loader(m_serial, m_state, m_control.state(), m_prompts, [this] { return askPortInStartupMode(); });
    if (!loader.load(settingsPath()) || !m_link.openOrEnd())
        return -1;
    m_control.setLimitsFolder(settingsFolder());
    TravelLimitsStartup::load(settingsFolder(), m_control, m_prompts);
    // The recovery prompt's Yes shows Setup Communications in start-up mode.
    m_link.setSetupHook([this] { return askPortInStartupMode(); });
    // The long waits keep the window alive: they block until an event or
    // serial data arrives. Once the window is closing the wait ends (a
    // stored-program run then halts the program), and the window closes
    // when its caller has wound up.
    m_link.setMessagePump([this] {
        if (!m_frame) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            return true;
        }
        m_frame->noteLongWaitTurn(true);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        m_frame->noteLongWaitTurn(false);
        if (!m_frame->closing())
            return true;
        m_frame->closeWhenIdle();
        return false;
    });

    m_frame = std::make_unique<CMainFrame>(m_state, m_control, m_serial, m_prompts);
    QObject::connect(m_frame.get(), &CMainFrame::helpRequested, m_frame.get(), [this] { showHelp(QString()); });
    // F1 in a dialog: the guide at the dialog's section, in a help window of
    // the dialog's own, so that a modal dialog does not block it.
    qApp->installEventFilter(new HelpKey(
        [](QWidget* window, const QString& section) {
            auto* help = new HelpWindow(guidePath(), window);
            help->setAttribute(Qt::WA_DeleteOnClose);
            help->showSection(section);
            help->show();
        },
        m_frame.get()));
    QObject::connect(m_frame.get(), &CMainFrame::communicationsDialogRequested, m_frame.get(), [this] {
        CommSetup setup(m_serial, m_link, m_prompts);
        setup.setSaveBindings([this](const PortNames::Bindings& b) { return saveBindings(b); });
        setup.run([this](const CommChoice& initial) { return CommSetupDialog::askWithDialog(m_frame.get(), initial); });
        m_frame->updateCaption();
        m_frame->updateConnectionText();
        startServer();
    });
    connectSetupDialogs();
    connectCapture();
    connectControllerPrograms();
    connectHostExecution();
    QObject::connect(m_frame.get(), &CMainFrame::aboutRequested, m_frame.get(), [this] {
        // The user-guide line closes the box and opens the Help window.
        bool guideAsked = false;
        AboutBox box(QUrl::fromLocalFile(guidePath()), m_frame.get());
        box.setUrlOpener([&box, &guideAsked](const QUrl&) {
            guideAsked = true;
            box.accept();
        });
        box.exec();
        if (guideAsked)
            showHelp(QString());
    });
    CMainFrame* frame = m_frame.get();
    new SignalCloser(frame, [frame] { frame->closeWithoutQuestions(); });
    TrafficWindow::install(m_frame.get(), m_frame->actions().serialTraffic, m_traced, m_prompts);

    m_frame->setGeometry(80, 30, 870, 670);
    if (m_frame->initialExchange() == LinkStatus::Failed)
        return -1;
    connectServer();
    m_frame->show();
    const int status = QApplication::exec();
    shutdown();
    return status;
}

void CQx410App::connectSetupDialogs()
{
    CMainFrame* f = m_frame.get();
    // Setup, Velocity and a double-click on the velocity pane.
    QObject::connect(f, &CMainFrame::velocityDialogRequested, f, [this, f] {
        VelocitySetup setup(m_control, m_prompts, nullptr); // the panes follow the layer
        setup.run([f](const VelocityChoice& initial, const VelocitySetup::Apply& ok) {
            return VelocityDialog::askWithDialog(f, initial, ok);
        });
    });
    // Setup, Resolution and a double-click on the resolution pane.
    QObject::connect(f, &CMainFrame::resolutionDialogRequested, f, [this, f] {
        ResolutionSetup setup(
            m_control, m_prompts, nullptr, // the panes follow the layer
            [f](const QString& text) { ResolutionNote::show(f->statusBar(), text); });
        setup.run([f](const ResolutionChoice& initial, const ResolutionSetup::Apply& ok) {
            return ResolutionDialog::askWithDialog(f, initial, ok);
        });
    });
    QObject::connect(f, &CMainFrame::dialogRequested, f, [this, f](QAction* action) {
        if (action != f->actions().hardware)
            return;
        HardwareSetup setup(m_control.controller(), m_prompts);
        HardwareSetupDialog::showModal(f, setup);
    });
    QObject::connect(f, &CMainFrame::dialogRequested, f, [this, f](QAction* action) {
        if (action != f->actions().travelLimits)
            return;
        TravelLimitsSetup setup(m_control, m_prompts);
        setup.run([&setup, f](const TravelLimitsChoice& initial, const TravelLimitsSetup::Apply& ok) {
            TravelLimitsDialog::Hooks hooks;
            hooks.apply = ok;
            hooks.fromCurrent = [&setup](int field) { return setup.fromCurrentPosition(field); };
            hooks.check = [&setup](const TravelLimitsChoice& choice) { return setup.positionCheck(choice); };
            return TravelLimitsDialog::askWithDialog(f, initial, hooks);
        });
    });
}

void CQx410App::connectCapture()
{
    CMainFrame* f = m_frame.get();
    auto factory = [this, f](QWidget* owner) -> QDialog* {
        auto boxes = std::make_unique<QtPrompts>();
        QtPrompts* shown = boxes.get();
        QPointer<CMainFrame> frame(f);
        auto* dialog = new CaptureDialog(
            f->state(), m_control, std::move(boxes),
            [frame] {
                if (frame)
                    frame->notifyCaptureClosed();
            },
            owner);
        shown->setOwner(dialog); // its questions and file choosers belong to the capture window
        return dialog;
    };
    f->setCaptureFactory(factory);
    // Define Path 1 and 2 open (or bring forward) the capture window and
    // choose which path its Save File defines.
    QObject::connect(f, &CMainFrame::dialogRequested, f, [f, factory](QAction* action) {
        const int path = action == f->actions().tool(MainActions::DefinePath1) ? 1
            : action == f->actions().tool(MainActions::DefinePath2)            ? 2
                                                                               : 0;
        if (path == 0)
            return;
        f->view()->openCapture(factory);
        f->state().pathSelector = path;
    });
}

void CQx410App::connectHostExecution()
{
    CMainFrame* f = m_frame.get();
    // Robotics, Host, Execute Commands: the modal Execute Host Programs
    // window, made afresh each time, its messages owned by it.
    QObject::connect(f, &CMainFrame::hostExecutionRequested, f, [f] {
        QtPrompts boxes;
        HostExecutionDialog dialog(f->control(), boxes, f);
        boxes.setOwner(&dialog);
        dialog.exec();
    });
    // Move Along Path 1 and 2 on the main toolbar.
    m_viewPrompts = std::make_unique<QtPrompts>();
    m_viewPrompts->setOwner(f->view());
    m_paths = std::make_unique<PathRunner>(f->state(), m_control, *m_viewPrompts);
    QObject::connect(f, &CMainFrame::movePathRequested, f, [this](int path) { m_paths->moveAlong(path); });
}

void CQx410App::connectServer()
{
    CMainFrame* f = m_frame.get();
    m_serverPrograms = std::make_unique<FrameProgramHost>(f->state(), m_control);
    m_backend = std::make_unique<ControlBackend>(m_control, *m_serverPrograms, m_clock);
    // A client's change of the travel limits is saved beside the settings.
    m_backend->setOnTarget([f](const Position& microsteps) { f->showDesired(Units::microstepsToMicrons(microsteps)); });
    m_server = std::make_unique<ControlServer>(*m_backend, QStringLiteral("qx410"), QStringLiteral(QX410_VERSION));
    m_backend->setEventSink([this](const ServerEvent& event) { m_server->publish(event); });
    QObject::connect(m_server.get(), &ControlServer::clientCountChanged, f, &CMainFrame::setClientCount);
    m_link.setRecoveryObserver([this](bool asking) { m_backend->setRecovering(asking); });
    // The operator may have chosen another port while resetting communication.
    QObject::connect(&m_control, &ControlLayer::linkRecovered, f, [this] { startServer(); }, Qt::QueuedConnection);
    startServer();
}

void CQx410App::startServer()
{
    if (!m_server)
        return;
    const QString device = m_link.device();
    if (m_server->path() == SocketPath::forDevice(device))
        return;
    m_server->close();
    m_frame->setClientCount(0);
    QString why;
    if (!m_server->listen(SocketPath::forDevice(device), &why) && !m_serverRefusalTold) {
        // The port is this program's now, so this is rare: carry on unserved.
        m_serverRefusalTold = true;
        qWarning("qx410: local clients cannot reach %s: %s", qPrintable(device), qPrintable(why));
    }
}

void CQx410App::shutdown()
{
    if (m_server)
        m_server->close();
    m_link.setRecoveryObserver(nullptr);
    SettingsLoader loader(m_serial, m_state, m_control.state(), m_prompts, nullptr);
    loader.save(settingsPath(), m_frame->panel()->stepSizeText());
    m_link.close();
}
