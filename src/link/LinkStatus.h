#pragma once

// How a link operation ended.
enum class LinkStatus {
    Ok,        // done as asked
    Recovered, // no reply (or the port failed); the operator reset communication
               // and the port is open again. The reply was never filled in; the
               // caller carries on with its remaining steps.
    Failed,    // the link gave up: the process is ending, or (command line)
               // recovery is off and the caller must stop
    TimedOut,  // a long-operation wait ran past the limit its caller gave
    Quit,      // the application was asked to quit during a long-operation wait
    BadAnswer, // the controller answered with something it never sends (a
               // program step count outside 0 to 32767); nothing more was
               // read, the input was purged and the caller stops
};
