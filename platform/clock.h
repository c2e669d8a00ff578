#pragma once
// The clock seam: the program asks it for the date and time and waits through it, so tests can
// run on a fixed clock without sleeping.
#include <chrono>

namespace talik {

struct LocalTime
{
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    // Blocks the caller for about `ms` milliseconds.
    virtual void sleepMs(int ms) = 0;
    // A monotonic reading in milliseconds, used to throttle "let events run" in long loops.
    virtual long long monotonicMs() const = 0;
};

class SystemClock final : public Clock
{
public:
    LocalTime now() const override;
    void sleepMs(int ms) override;
    long long monotonicMs() const override;
};

} // namespace talik
