// Long simulation runs check drift and stability over their whole length in
// the plain build. Under the sanitizers, which look for memory faults and
// undefined behaviour and make every step many times slower, a tenth of the
// run goes through the same code; what only the whole run can show (a pile
// that has settled, a recorded digest) is expected only of the whole run.
#pragma once

#include <cstdint>

// TAVREL_SHORTENED_RUNS is 1 in the sanitizer build, 0 otherwise.
inline constexpr bool ShortenedRuns = TAVREL_SHORTENED_RUNS;

// The steps (frames, events) of a run whose whole length is `full`.
constexpr int32_t LongRun(int32_t full) { return ShortenedRuns ? full / 10 : full; }
