#pragma once

#include <QString>

// What the operator typed in the Velocity dialog: the entry as it stands,
// checked only when it is applied (VelocitySetup::accept).
struct VelocityChoice {
    QString entry;

    friend bool operator==(const VelocityChoice& a, const VelocityChoice& b) { return a.entry == b.entry; }
    friend bool operator!=(const VelocityChoice& a, const VelocityChoice& b) { return !(a == b); }
};
