#pragma once

#include "LinkStatus.h"
#include "Position.h"
#include "StatusBlock.h"

#include <QtGlobal>
#include <array>

class SerialLink;

// The controller's commands, each with the exchange it needs: the bytes
// of the command table sent through the matching transfer pattern.
class Controller
{
public:
    explicit Controller(SerialLink& link);

    SerialLink& link() { return m_link; }

    // Position query: the watched read of the 13-byte reply. *microsteps is
    // only changed when the reply arrived.
    LinkStatus queryPosition(Position* microsteps);
    // Move command: whatever was received before is cleared, then the
    // command is written and its completion byte awaited while busy stays set.
    LinkStatus move(const Position& microsteps, bool& busy, int timeoutMs = -1);
    LinkStatus setVelocity(quint16 word);
    // Interrupt command: a plain write, nothing read.
    LinkStatus interrupt();
    LinkStatus continueRun();
    LinkStatus reset();
    LinkStatus setOrigin();
    // Refresh-display command: write, then wait for the CR that ends the answer.
    LinkStatus refreshDisplay();
    // Status query: exactly 33 bytes are consumed, decoded into 19 numbers.
    LinkStatus queryStatus(std::array<int, StatusBlock::count>* numbers);

private:
    SerialLink& m_link;
};
