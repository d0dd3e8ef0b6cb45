#include "PathRunner.h"

#include "PathSlots.h"
#include "Prompts.h"

const QString PathRunner::undefinedText = QStringLiteral("Please define path first!");

PathRunner::PathRunner(PathSlots& paths, HostMoves& moves, Prompts& prompts)
    : m_state(paths)
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
