// libFuzzer entry point of the command-file fuzz target.

#include "CommandFileFuzz.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string failure = CommandFileFuzz::check(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "command-file fuzz: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
