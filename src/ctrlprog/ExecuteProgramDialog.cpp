#include "ExecuteProgramDialog.h"

#include "ExecuteSession.h"
#include "ProgramIcon.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExecuteProgramDialog::ExecuteProgramDialog(ExecuteSession& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    m_session.setProgress(&m_progress);
    setWindowTitle(ExecuteSession::title);
    setWindowIcon(ProgramIcon::icon());

    auto* actions = new QGroupBox(QStringLiteral("Execute"));
    auto* actionLayout = new QVBoxLayout(actions);
    auto button = [](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromLatin1(text));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* select = button("Select Program", "selectProgram");
    QPushButton* execute = button("Execute", "execute");
    QPushButton* cont = button("Continue", "continue");
    QPushButton* halt = button("Halt", "halt");
    for (QPushButton* b : {select, execute, cont, halt})
        actionLayout->addWidget(b);

    auto* mode = new QGroupBox(QStringLiteral("Execution Mode"));
    auto* modeLayout = new QVBoxLayout(mode);
    m_absolute = new QRadioButton(QStringLiteral("Absolute"));
    auto* relative = new QRadioButton(QStringLiteral("Relative"));
    m_absolute->setObjectName(QStringLiteral("absolute"));
    relative->setObjectName(QStringLiteral("relative"));
    m_absolute->setChecked(true);
    modeLayout->addWidget(m_absolute);
    modeLayout->addWidget(relative);
    modeLayout->addStretch();

    QPushButton* exit = button("Exit", "exit");
    auto* right = new QVBoxLayout;
    right->addWidget(mode);
    right->addWidget(exit);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(actions);
    layout->addLayout(right);

    connect(select, &QPushButton::clicked, this, [this] { m_session.selectProgram(); });
    connect(execute, &QPushButton::clicked, this, [this] { m_session.execute(m_absolute->isChecked()); });
    connect(cont, &QPushButton::clicked, this, [this] { m_session.continueRun(); });
    connect(halt, &QPushButton::clicked, this, [this] { m_session.halt(); });
    connect(exit, &QPushButton::clicked, this, &ExecuteProgramDialog::reject);
}

void ExecuteProgramDialog::reject()
{
    if (m_session.exit())
        QDialog::reject();
}

void ExecuteProgramDialog::closeEvent(QCloseEvent* event)
{
    // The close box goes through the same guard as Exit.
    event->ignore();
    reject();
}

ExecuteProgramDialog::~ExecuteProgramDialog()
{
    m_session.setProgress(nullptr);
}
