#pragma once

#include <QByteArray>
#include <QtGlobal>

// One step of a stored program: a velocity word (see VelocityWord) and a target
// in microsteps. A step with velocity word 0 and all coordinates 0 is a pause.
//
// The controller takes steps in one layout and reports them back in another:
//   download (14 bytes): velocity word 16-bit, X, Y, Z signed 32-bit;
//   upload   (16 bytes): velocity field signed 32-bit, X, Y, Z signed 32-bit.
// All little-endian.
struct ProgramStep
{
    quint16 velocityWord = 0;
    qint32 x = 0, y = 0, z = 0;

    static constexpr int downloadSize = 14;
    static constexpr int uploadSize = 16;

    bool isPause() const;
    QByteArray toDownload() const;

    // Reads uploadSize bytes at offset; bytes outside the array read as 0.
    // The velocity field maps to a word as: 0 -> 0 (pause); negative -> high
    // resolution with the low 15 bits as velocity; positive -> low resolution
    // with the value kept to 15 bits.
    static ProgramStep fromUpload(const QByteArray& bytes, int offset = 0);

    friend bool operator==(const ProgramStep& a, const ProgramStep& b)
    {
        return a.velocityWord == b.velocityWord && a.x == b.x && a.y == b.y && a.z == b.z;
    }
    friend bool operator!=(const ProgramStep& a, const ProgramStep& b) { return !(a == b); }
};
