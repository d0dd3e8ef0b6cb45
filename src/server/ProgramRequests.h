#pragma once

#include "ServerBackend.h"

#include "LinkStatus.h"
#include "TravelLimits.h"

#include <QString>
#include <array>
#include <functional>

class Clock;
class SerialLink;

// The controller-program requests that every owner of the controller
// answers alike: download a command file into a program, upload a program
// into a file, count the steps of every program. The owner checks that the
// wire is free first and turns link statuses into its errors (and events).
class ProgramRequests
{
public:
    using Checked = std::function<ServerStatus(LinkStatus)>;

    ProgramRequests(SerialLink& link, Clock& clock, Checked checked);

    // startWord: the velocity word the file's steps start with (the owner's
    // velocity and resolution settings); limits: the owner's travel limits,
    // which every Move line of the file must keep.
    ServerStatus download(const QString& file, int program, quint16 startWord, const TravelLimits& limits, int* steps);
    ServerStatus upload(int program, const QString& file, int* steps);
    ServerStatus programs(std::array<int, 10>* counts);

private:
    SerialLink& m_link;
    Clock& m_clock;
    Checked m_checked;
};
