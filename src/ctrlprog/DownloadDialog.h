#pragma once

#include "ProgressWindow.h"

#include <QDialog>

class DownloadSession;
class QLabel;

// "     Download to Controller": Select File, Download File and Exit in the
// group "Download", and the two lines that tell how many steps the loaded
// file holds.
class DownloadDialog : public QDialog
{
    Q_OBJECT
public:
    DownloadDialog(DownloadSession& session, QWidget* parent = nullptr);
    ~DownloadDialog() override;

private:
    void showCount();

    DownloadSession& m_session;
    ProgressWindow m_progress{this};
    QLabel* m_first = nullptr;
    QLabel* m_second = nullptr;
};
