#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's commands: the menu items and the two toolbars' buttons,
// with their captions, tooltips and status-line help texts, laid out in the
// menu bar and the toolbars.
class MainActions : public QObject
{
    Q_OBJECT
public:
    enum Tool {
        GoHome, GoPosition1, GoPosition2, GoPosition3, GoPrevious, MovePath1, MovePath2, Stop, Update, Refresh,
        DefineHome, DefinePosition1, DefinePosition2, DefinePosition3, DefinePrevious, DefinePath1, DefinePath2,
        ToolCount
    };

    explicit MainActions(QMainWindow* window);

    QAction* tool(Tool t) const { return m_tools[t]; }
    QToolBar* mainToolBar() const { return m_mainBar; }
    QToolBar* defineToolBar() const { return m_defineBar; }
    // The five menu titles, disabled together while a move runs.
    const QList<QMenu*>& menus() const { return m_menus; }

    QAction* exit = nullptr;
    QAction* captureCommands = nullptr;
    QAction* executeCommands = nullptr;
    QAction* downloadPrograms = nullptr;
    QAction* executePrograms = nullptr;
    QAction* uploadPrograms = nullptr;
    QAction* velocity = nullptr;
    QAction* resolution = nullptr;
    QAction* communications = nullptr;
    QAction* hardware = nullptr;
    QAction* travelLimits = nullptr;
    QAction* toolbar = nullptr;
    QAction* statusBar = nullptr;
    QAction* serialTraffic = nullptr; // shows the Serial Traffic window (checkable)
    QAction* zoom = nullptr;
    QAction* multiple = nullptr;
    QAction* helpTopics = nullptr;
    QAction* about = nullptr;

    // A run of ten separators: the toolbars' wide gap.
    static constexpr int wideGap = 10;

    // Lets Ctrl+E, and Ctrl+C without selected text, reach the menu items
    // while a text field of the window has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus(QMainWindow* window);
    void buildToolBars(QMainWindow* window);
    QAction* item(QMenu* menu, const QString& caption, const QString& statusTip);

    QAction* m_tools[ToolCount] = {};
    QToolBar* m_mainBar = nullptr;
    QToolBar* m_defineBar = nullptr;
    QList<QMenu*> m_menus;
    QMainWindow* m_window = nullptr;
};
