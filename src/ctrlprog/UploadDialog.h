#pragma once

#include "ProgressWindow.h"

#include <QDialog>

class QButtonGroup;
class UploadSession;

// "     Upload Program from Controller": the program numbers "1" to "10" as
// radio buttons in the frame captioned "Static" ("1" checked), Upload and
// Exit.
class UploadDialog : public QDialog
{
    Q_OBJECT
public:
    UploadDialog(UploadSession& session, QWidget* parent = nullptr);
    ~UploadDialog() override;

    int checkedProgram() const;

private:
    UploadSession& m_session;
    ProgressWindow m_progress{this};
    QButtonGroup* m_programs = nullptr;
};
