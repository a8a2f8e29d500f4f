// What the fuzz harnesses share: a check that stops the run with a report, and fuzzed text in the code page.
#pragma once

#include "platform/FileSystem.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

// A property that does not hold is a finding like a sanitizer's: libFuzzer saves the input that broke it.
inline void Check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// A fuzzed text of at most `maxBytes` bytes, read in the code page as the launcher reads its files.
inline platform::Text FuzzedText(FuzzedDataProvider& input, const platform::FileSystem& files,
                                 std::size_t maxBytes = 64) {
    return files.FromCodePage(input.ConsumeRandomLengthString(maxBytes));
}

} // namespace fuzzing
