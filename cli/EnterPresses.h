#pragma once

// The Enter presses typed on a terminal while a command waits, taken without
// blocking: a terminal hands over its input a line at a time, at each Enter.
class EnterPresses
{
public:
    // Standard input when it is a terminal; -1 (nothing to watch) otherwise,
    // so that a script's input is never taken for key presses.
    static int terminalInput();

    // fd: where the presses are read; -1 watches nothing.
    explicit EnterPresses(int fd);

    // Whether anything is watched.
    bool watching() const { return m_fd >= 0; }
    // The Enter presses that arrived since the last call. The end of the
    // input (or an error reading it) stops the watch.
    int take();

private:
    int m_fd;
};
