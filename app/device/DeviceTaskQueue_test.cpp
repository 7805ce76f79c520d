// The completion hook of the task queue, with a worker thread of its own.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/device/DeviceTaskQueue.h"

namespace {

using namespace std::chrono_literals;

TEST(DeviceTaskQueueTest, EachWaiterGetsTheResultOfItsOwnTask) {
    DeviceTaskQueue tasks;
    std::atomic<bool> stop{false};
    // Odd codes "fail", so a mixed-up result shows.
    std::thread worker([&] {
        while (!stop) {
            if (auto entry = tasks.TryPopEntry()) {
                tasks.Finish(entry->ticket, entry->code % 2 == 0);
            } else {
                std::this_thread::sleep_for(1ms);
            }
        }
    });
    std::vector<std::thread> callers;
    std::atomic<int> wrong{0};
    for (int code = 1; code <= 8; ++code) {
        callers.emplace_back([&, code] {
            tasks.Push(99);  // untracked work in between
            const uint64_t ticket = tasks.PushTracked(code);
            std::optional<bool> ok = tasks.WaitFinished(ticket, 30s);
            if (!ok || *ok != (code % 2 == 0)) {
                ++wrong;
            }
        });
    }
    for (std::thread& t : callers) {
        t.join();
    }
    stop = true;
    worker.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(tasks.Empty());
}

TEST(DeviceTaskQueueTest, WaitingEndsWithoutAResultWhenNoWorkerRuns) {
    DeviceTaskQueue tasks;
    const uint64_t ticket = tasks.PushTracked(9);
    EXPECT_EQ(tasks.WaitFinished(ticket, 20ms), std::nullopt);
    // The untracked form still hands out the same code, and the ticket is kept for the worker.
    std::optional<DeviceTaskQueue::Entry> entry = tasks.TryPopEntry();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->code, 9);
    EXPECT_EQ(entry->ticket, ticket);
    tasks.Finish(entry->ticket, true);
    EXPECT_EQ(tasks.WaitFinished(ticket, 20ms), std::optional<bool>(true));
    // A result is handed out once.
    EXPECT_EQ(tasks.WaitFinished(ticket, 1ms), std::nullopt);
}

}  // namespace
