#pragma once

#include <cstdint>

struct LocalDateTime {
    int year, month, day, hour, minute, second, millisecond;
};

// The local wall clock, with milliseconds.
LocalDateTime LocalNow();

// Milliseconds of a steady clock, for time-outs.
std::int64_t MonotonicMs();

// Blocks the calling thread.
void SleepMs(int milliseconds);
