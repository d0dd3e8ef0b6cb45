#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// F1 in a dialog or a window other than the main window opens the user
// guide at that window's section (HelpGuide::sectionFor). Installed on the
// application; the main window binds F1 to Help Topics itself.
class HelpKey : public QObject
{
    Q_OBJECT
public:
    // Opens the guide at a section, for the window the key was pressed in.
    using Open = std::function<void(QWidget* window, const QString& section)>;

    explicit HelpKey(Open open, QObject* parent = nullptr);

    // The window whose help F1 in widget asks for, and its section: the
    // nearest window around it that has a section; nothing otherwise.
    static QWidget* helpedWindow(QWidget* widget, QString* section);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Open m_open;
};
