#pragma once

#include <cstdio>
#include <cstdlib>

// A property that every input must keep. When one breaks, the target names it
// and aborts; libFuzzer then keeps the input that broke it as a crash file.
inline void require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n", property);
    std::abort();
}
