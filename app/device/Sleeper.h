#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

// The pauses of the device exchanges go through this, so tests can count them instead of
// sleeping.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void SleepMs(int ms) = 0;
    virtual int64_t NowMs() = 0;
};

class SteadySleeper : public Sleeper {
public:
    void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int64_t NowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};
