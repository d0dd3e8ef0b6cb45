#include "CQx410App.h"

#include "AboutBox.h"
#include "CMainFrame.h"
#include "CommSetup.h"
#include "CommSetupDialog.h"
#include "Controller.h"
#include "ManualMovePanel.h"
#include "SettingsFile.h"
#include "SettingsLoader.h"
#include "SignalCloser.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

CQx410App::CQx410App()
    : m_link(m_port, m_clock, m_prompts, m_serial)
{
}

CQx410App::~CQx410App() = default;

std::string CQx410App::settingsPath()
{
    return QDir::current().filePath(QString::fromLatin1(SettingsFile::fileName)).toStdString();
}

QUrl CQx410App::guideUrl()
{
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/qx410/user-guide.md");
    const QString inSources = QStringLiteral(QX410_DOCS_DIR "/user-guide.md");
    return QUrl::fromLocalFile(QFileInfo::exists(besideProgram) ? besideProgram : inSources);
}

bool CQx410App::askPortInStartupMode()
{
    CommSetup setup(m_serial, m_link, m_prompts);
    return setup.run([](const CommChoice& initial) { return CommSetupDialog::askWithDialog(nullptr, initial); });
}

int CQx410App::run()
{
    // Main-window construction: settings first, the port last.
    SettingsLoader loader(m_serial, m_state, m_prompts, [this] { return askPortInStartupMode(); });
    if (!loader.load(settingsPath()) || !m_link.openOrEnd())
        return -1;
    // The recovery prompt's Yes shows Setup Communications in start-up mode.
    m_link.setSetupHook([this] { return askPortInStartupMode(); });
    // The long waits keep the window alive: they block until an event or
    // serial data arrives.
    m_link.setMessagePump([] {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return true;
    });

    m_controller = std::make_unique<Controller>(m_link);
    m_frame = std::make_unique<CMainFrame>(m_state, m_serial, m_link, *m_controller, m_clock, m_prompts);
    m_frame->setGuideUrl(guideUrl());
    QObject::connect(m_frame.get(), &CMainFrame::communicationsDialogRequested, m_frame.get(), [this] {
        CommSetup setup(m_serial, m_link, m_prompts);
        setup.run([this](const CommChoice& initial) { return CommSetupDialog::askWithDialog(m_frame.get(), initial); });
        m_frame->updateCaption();
        m_frame->updateConnectionText();
    });
    QObject::connect(m_frame.get(), &CMainFrame::aboutRequested, m_frame.get(), [this] {
        AboutBox box(guideUrl(), m_frame.get());
        box.exec();
    });
    new SignalCloser(m_frame.get());

    m_frame->setGeometry(80, 30, 870, 670);
    if (m_frame->initialExchange() == LinkStatus::Failed)
        return -1;
    m_frame->show();
    const int status = QApplication::exec();
    shutdown();
    return status;
}

void CQx410App::shutdown()
{
    SettingsLoader loader(m_serial, m_state, m_prompts, nullptr);
    loader.save(settingsPath(), m_frame->panel()->stepSizeText());
    m_link.close();
}
