#pragma once

#include "CaptureSession.h"

#include <QDialog>
#include <functional>
#include <memory>

class CaptureHost;
class Prompts;
class QLineEdit;
class QListWidget;
class QPushButton;
struct PathSlots;

// The capture editor's window, titled "     Doveza Ruzoradi": the "Capture"
// buttons on the left, the line list in the middle, the "Edit" and "File"
// buttons on the right, "Capture Count" at the bottom left and "Exit" at the
// bottom right. Every button goes to its CaptureSession; the window then
// shows the session's lines, selection and count. Modeless; deletes itself
// once it has closed.
//
// Exit, the close box and Esc all ask the session first; when it lets the
// window go, the session sends the closed notification and the window
// closes. A window destroyed with its owner sends nothing.
//
// The window owns its prompts (message boxes and file choosers), so that
// they can be owned by it on screen.
//
// Children carry object names for tests: "fileLabel", "captureGroup",
// "positionButton", "speedButton", "pauseButton", "parametersButton",
// "lineList", "countLabel", "countEdit", "editGroup", "deleteButton",
// "reverseButton", "clearButton", "fileGroup", "loadButton", "saveButton",
// "exitButton".
class CaptureDialog : public QDialog
{
    Q_OBJECT

public:
    CaptureDialog(PathSlots& paths, CaptureHost& host, std::unique_ptr<Prompts> prompts,
                  std::function<void()> closed, QWidget* owner = nullptr);
    ~CaptureDialog() override;

    CaptureSession& session() { return m_session; }
    QListWidget* lineList() const { return m_list; }
    QLineEdit* countEdit() const { return m_count; }

public slots:
    // Esc: the same as Exit.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A push button that Enter never presses (neither default nor auto-default).
    QPushButton* plainButton(const QString& caption, const QString& name);
    QPushButton* addButton(const QString& caption, const QString& name, void (CaptureSession::*action)());
    void listSelectionChanged();
    void showState();

    std::unique_ptr<Prompts> m_prompts;
    CaptureSession m_session;
    QListWidget* m_list = nullptr;
    QLineEdit* m_count = nullptr;
};
