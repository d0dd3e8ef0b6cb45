#pragma once

// What the benchmarks share: prompts that print instead of asking, and the
// CPU time of the calling thread.

#include "Prompts.h"

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace bench {

class QuietPrompts : public Prompts
{
public:
    Answer message(const QString& text, const QString&, Icon, Buttons) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return Answer::No;
    }
    void endProcess(int status) override { std::exit(status); }
};

inline double threadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace bench
