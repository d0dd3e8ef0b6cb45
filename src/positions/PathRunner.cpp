#include "PathRunner.h"

#include "CMainFrame.h"
#include "MainFrameState.h"
#include "Prompts.h"

const QString PathRunner::undefinedText = QStringLiteral("Please define path first!");

PathRunner::PathRunner(MainFrameState& state, HostMoves& moves, Prompts& prompts)
    : m_state(state)
    , m_prompts(prompts)
    , m_executor(moves, prompts, HostExecutor::Options::path())
{
}

void PathRunner::moveAlong(int path)
{
    const QString fileName = path == 2 ? m_state.path2File : m_state.path1File;
    if (fileName.isEmpty()) {
        m_prompts.message(undefinedText, HostExecutor::warningCaption, Prompts::Icon::None, Prompts::Buttons::Ok);
        return;
    }
    if (m_executor.running())
        return; // a run waiting at a Pause question; its buttons are greyed anyway
    m_executor.run(fileName);
}

void PathRunner::connectTo(CMainFrame& frame)
{
    QObject::connect(&frame, &CMainFrame::movePathRequested, &frame, [this](int path) { moveAlong(path); });
}
