#include "MainActions.h"

#include "ButtonPictures.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

using Picture = ButtonPictures::Picture;

struct ToolText
{
    Picture picture;
    const char* toolTip;
    const char* statusTip;
};

// Tooltips keep the blanks they are defined with.
const ToolText kTools[MainActions::ToolCount] = {
    {Picture::Home, "Go To Home Position", "Home position"},
    {Picture::Flag1, "Go To Position 1", "Go to position 1"},
    {Picture::Flag2, "Go To Position 2", "Go to position 2"},
    {Picture::Flag3, "Go To Position 3", "Go to position 3"},
    {Picture::FlagReturn, "Return", "Return to the previous position"},
    {Picture::Path1, "Move Along Path 1", "Move manipulator along defined path 1"},
    {Picture::Path2, "Move Along Path 2", "Move manipulator along defined path 2"},
    {Picture::Stop, "Stop Current Movement", "Stop current movement or action"},
    {Picture::Update, "Update Displayed Coordinates", "Update X, Y, Z coordinates AFTER they were changed manually"},
    {Picture::Refresh, "Refresh controller display", "Refresh the display of Qx410 controller (XYZ only)"},
    {Picture::DefineHome, "Define Home Position", "Define coordinates for home position"},
    {Picture::Define1, " Define Position1 ", "Define position 1 coordinates"},
    {Picture::Define2, "Define Position 2", "Define position 2 coordinates"},
    {Picture::Define3, " Define Position 3", "Define position 3 coordinates"},
    {Picture::DefineReturn, " Define Previous Position", "Define previous position  coordinates"},
    {Picture::DefinePath1, " Define Path 1", "Define path 1 by capturing series of movements or actions"},
    {Picture::DefinePath2, " Define Path 2", "Define path 2 by capturing series of movements or actions"},
};

void addGap(QToolBar* bar, int separators)
{
    for (int i = 0; i < separators; ++i)
        bar->addSeparator();
}

} // namespace

MainActions::MainActions(QMainWindow* window)
    : QObject(window)
{
    for (int t = 0; t < ToolCount; ++t) {
        auto* a = new QAction(ButtonPictures::icon(kTools[t].picture), QString::fromLatin1(kTools[t].toolTip), window);
        a->setToolTip(QString::fromLatin1(kTools[t].toolTip));
        a->setStatusTip(QString::fromLatin1(kTools[t].statusTip));
        m_tools[t] = a;
    }
    buildMenus(window);
    buildToolBars(window);
    // Esc stops a move from anywhere in the main window, a text field
    // included, as the Stop button does; with the toolbars hidden too, so the
    // window holds the action as well. Only while Stop is enabled, and only
    // while this window is the active one: a dialog keeps its own Esc.
    QAction* stop = m_tools[Stop];
    stop->setShortcut(QKeySequence(Qt::Key_Escape));
    stop->setShortcutContext(Qt::WindowShortcut);
    stop->setToolTip(stop->toolTip() + QStringLiteral(" (Esc)"));
    window->addAction(stop);
    m_window = window;
    QCoreApplication::instance()->installEventFilter(this);
}

bool MainActions::eventFilter(QObject* watched, QEvent* event)
{
    // A text field of this window claims Ctrl+E (end of line) and Ctrl+C
    // (copy) before the menu's keys see them. Ctrl+E always goes to Execute
    // Commands; Ctrl+C stays with the field only while it has selected text.
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* field = qobject_cast<QLineEdit*>(widget);
    if (!field || widget->window() != m_window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (pressed == executeCommands->shortcut())
        return true;
    return pressed == captureCommands->shortcut() && !field->hasSelectedText();
}

QAction* MainActions::item(QMenu* menu, const QString& caption, const QString& statusTip)
{
    QAction* a = menu->addAction(caption);
    a->setStatusTip(statusTip);
    return a;
}

void MainActions::buildMenus(QMainWindow* window)
{
    QMenuBar* bar = window->menuBar();

    QMenu* file = bar->addMenu(tr("&File"));
    exit = item(file, tr("E&xit"), tr("Quit the application; the settings are saved"));

    QMenu* robotics = bar->addMenu(tr("&Robotics"));
    QMenu* host = robotics->addMenu(tr("&Host"));
    // The keys the captions show are bound to their items (a text field with
    // selected text keeps Ctrl+C for copying it; see eventFilter).
    captureCommands = item(host, tr("&Capture Commands\tCtrl+C"), tr("Record moves, speeds, pauses and status in a command file"));
    captureCommands->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    executeCommands = item(host, tr("&Execute Commands\tCtrl+E"), tr("Run a command file from the host"));
    executeCommands->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    QMenu* controller = robotics->addMenu(tr("&Controller"));
    downloadPrograms = item(controller, tr("&Download Programs"), tr("Store a command file as a program in the controller"));
    executePrograms = item(controller, tr("&Execute Programs"), tr("Run a program stored in the controller"));
    uploadPrograms = item(controller, tr("&Upload Programs"), tr("Read a program stored in the controller into a command file"));

    QMenu* setup = bar->addMenu(tr("&Setup"));
    velocity = item(setup, tr("&Velocity"), tr("Set the velocity of the manipulator"));
    resolution = item(setup, tr("&Resolution"), tr("Set the resolution of the manipulator"));
    setup->addSeparator();
    communications = item(setup, tr("&Communications"), tr("Choose the serial port and the baud rate"));
    setup->addSeparator();
    hardware = item(setup, tr("&Hardware"), tr("Reset the controller or set its origin"));
    setup->addSeparator();
    travelLimits = item(setup, tr("&Travel Limits"), tr("Set the limits no target of a move may pass"));

    QMenu* view = bar->addMenu(tr("&View"));
    toolbar = item(view, tr("&Toolbar"), tr("Show or hide the toolbars"));
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    statusBar = item(view, tr("&Status Bar"), tr("Show or hide the status bar"));
    statusBar->setCheckable(true);
    statusBar->setChecked(true);
    serialTraffic = item(view, tr("Se&rial Traffic"), tr("Show every exchange with the controller as it happens"));
    serialTraffic->setCheckable(true);
    view->addSeparator();
    zoom = item(view, tr("&Zoom"), QString());
    multiple = item(view, tr("&Multiple"), QString());

    QMenu* help = bar->addMenu(tr("&Help"));
    helpTopics = item(help, tr("&Help Topics"), tr("Open the user guide"));
    helpTopics->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    about = item(help, tr("&About Qx410..."), tr("Display program information and version"));

    m_menus = {file, robotics, setup, view, help};
}

void MainActions::buildToolBars(QMainWindow* window)
{
    m_mainBar = new QToolBar(tr("Main"), window);
    m_mainBar->setObjectName(QStringLiteral("mainToolBar"));
    m_mainBar->setIconSize(QSize(ButtonPictures::width, ButtonPictures::height));
    for (Tool t : {GoHome, GoPosition1, GoPosition2, GoPosition3, GoPrevious})
        m_mainBar->addAction(m_tools[t]);
    addGap(m_mainBar, wideGap);
    m_mainBar->addAction(m_tools[MovePath1]);
    addGap(m_mainBar, 1);
    m_mainBar->addAction(m_tools[MovePath2]);
    addGap(m_mainBar, wideGap);
    m_mainBar->addAction(m_tools[Stop]);
    addGap(m_mainBar, wideGap);
    m_mainBar->addAction(m_tools[Update]);
    addGap(m_mainBar, wideGap);
    m_mainBar->addAction(m_tools[Refresh]);
    window->addToolBar(Qt::TopToolBarArea, m_mainBar);

    m_defineBar = new QToolBar(tr("Define"), window);
    m_defineBar->setObjectName(QStringLiteral("defineToolBar"));
    m_defineBar->setIconSize(QSize(ButtonPictures::width, ButtonPictures::height));
    for (Tool t : {DefineHome, DefinePosition1, DefinePosition2, DefinePosition3, DefinePrevious})
        m_defineBar->addAction(m_tools[t]);
    addGap(m_defineBar, wideGap);
    m_defineBar->addAction(m_tools[DefinePath1]);
    addGap(m_defineBar, 1);
    m_defineBar->addAction(m_tools[DefinePath2]);
    window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, m_defineBar);
}
