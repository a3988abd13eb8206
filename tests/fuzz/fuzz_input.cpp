#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>

namespace orvanta::fuzz {

void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace orvanta::fuzz
