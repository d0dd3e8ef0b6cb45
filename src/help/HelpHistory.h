#pragma once

#include <QString>
#include <QStringList>

// The sections visited in the help window, for Back and Forward: visiting a
// section drops whatever lay ahead of the current one.
class HelpHistory
{
public:
    // Makes anchor the current section; visiting the current one again
    // changes nothing.
    void visit(const QString& anchor);
    bool canGoBack() const { return m_current > 0; }
    bool canGoForward() const { return m_current + 1 < m_visited.size(); }
    // Steps back or forward and gives the section now current; the current
    // one when there is no step to take.
    QString back();
    QString forward();
    QString current() const { return m_current < 0 ? QString() : m_visited[m_current]; }

private:
    QStringList m_visited;
    int m_current = -1;
};
