#include "HelpHistory.h"

void HelpHistory::visit(const QString& anchor)
{
    if (current() == anchor && m_current >= 0)
        return;
    m_visited = m_visited.mid(0, m_current + 1);
    m_visited.append(anchor);
    m_current = static_cast<int>(m_visited.size()) - 1;
}

QString HelpHistory::back()
{
    if (canGoBack())
        --m_current;
    return current();
}

QString HelpHistory::forward()
{
    if (canGoForward())
        ++m_current;
    return current();
}
