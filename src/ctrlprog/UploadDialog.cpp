#include "UploadDialog.h"

#include "ProgramIcon.h"
#include "UploadSession.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

UploadDialog::UploadDialog(UploadSession& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    m_session.setProgress(&m_progress);
    setWindowTitle(UploadSession::title);
    setWindowIcon(ProgramIcon::icon());

    auto* frame = new QGroupBox(QStringLiteral("Static"));
    auto* grid = new QGridLayout(frame);
    m_programs = new QButtonGroup(this);
    for (int n = 1; n <= 10; ++n) {
        auto* radio = new QRadioButton(QString::number(n));
        radio->setObjectName(QStringLiteral("program%1").arg(n));
        m_programs->addButton(radio, n);
        grid->addWidget(radio, (n - 1) % 5, (n - 1) / 5);
    }
    m_programs->button(1)->setChecked(true);

    auto* upload = new QPushButton(QStringLiteral("Upload"));
    auto* exit = new QPushButton(QStringLiteral("Exit"));
    upload->setObjectName(QStringLiteral("upload"));
    exit->setObjectName(QStringLiteral("exit"));
    upload->setAutoDefault(false);
    exit->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(upload);
    buttons->addWidget(exit);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    connect(upload, &QPushButton::clicked, this, [this] { m_session.upload(checkedProgram()); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

int UploadDialog::checkedProgram() const
{
    return m_programs->checkedId();
}

UploadDialog::~UploadDialog()
{
    m_session.setProgress(nullptr);
}
