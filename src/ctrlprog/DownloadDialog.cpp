#include "DownloadDialog.h"

#include "DownloadSession.h"
#include "ProgramIcon.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DownloadDialog::DownloadDialog(DownloadSession& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    m_session.setProgress(&m_progress);
    setWindowTitle(DownloadSession::title);
    setWindowIcon(ProgramIcon::icon());

    auto* group = new QGroupBox(QStringLiteral("Download"));
    auto* select = new QPushButton(QStringLiteral("Select File"));
    auto* download = new QPushButton(QStringLiteral("Download File"));
    auto* exit = new QPushButton(QStringLiteral("Exit"));
    select->setObjectName(QStringLiteral("selectFile"));
    download->setObjectName(QStringLiteral("downloadFile"));
    exit->setObjectName(QStringLiteral("exit"));
    for (QPushButton* b : {select, download, exit})
        b->setAutoDefault(false);
    auto* buttons = new QVBoxLayout(group);
    buttons->addWidget(select);
    buttons->addWidget(download);
    buttons->addWidget(exit);

    m_first = new QLabel;
    m_second = new QLabel;
    m_first->setObjectName(QStringLiteral("firstLine"));
    m_second->setObjectName(QStringLiteral("secondLine"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_first);
    layout->addWidget(m_second);
    setMinimumWidth(230);

    connect(select, &QPushButton::clicked, this, [this] {
        m_session.selectFile();
        showCount();
    });
    connect(download, &QPushButton::clicked, this, [this] { m_session.downloadFile(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void DownloadDialog::showCount()
{
    m_first->setText(m_session.firstLine());
    m_second->setText(m_session.secondLine());
}

DownloadDialog::~DownloadDialog()
{
    m_session.setProgress(nullptr);
}
