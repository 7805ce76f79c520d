#pragma once

#include <string>
#include <vector>

// What a settings operation hands back to its caller (the main window's pages or talvane-cli).
// Operations validate first; a refusal stores nothing and carries a one-line message that names
// the valid range. Otherwise the store is written and `tasks` lists the device tasks to queue,
// in order.

// One device task code with the page values the worker reads when it runs it (DeviceSession's
// SetSelectedButton, SetSendMask, SetCurrentLightingMode, SetResetMask, SetCurrentProfile).
// The worker reads those values when the task runs, not when it is queued, so a caller that
// queues several tasks sets the values of each just before queueing it and waits until the
// worker has taken it before setting the next. Fields a task does not use are -1.
struct PageTask {
    int code = 0;
    int button = -1;        // tasks 6, 7: the button to send or restore
    int sendMask = -1;      // task 8: LightingSendMask bits
    int lightingMode = -1;  // task 8: the profile's active lighting mode
    int resetMask = -1;     // task 15: 1, the buttons
    int profile = -1;       // task 5: the profile that became current
};

struct PageResult {
    bool ok = false;
    std::wstring message;         // why it was refused; empty on success
    std::vector<PageTask> tasks;  // to queue, in order, on success
    int value = 0;                // what was stored where the input was adjusted, or a new id
    std::wstring path;            // files: the path actually written
    bool storeFailed = false;     // the store, or a file written, failed (not the input)

    static PageResult Refused(std::wstring message) {
        PageResult result;
        result.message = std::move(message);
        return result;
    }
    static PageResult StoreFailed(std::wstring message = L"the settings store failed") {
        PageResult result = Refused(std::move(message));
        result.storeFailed = true;
        return result;
    }
    static PageResult Done(std::vector<PageTask> tasks = {}, int value = 0) {
        PageResult result;
        result.ok = true;
        result.tasks = std::move(tasks);
        result.value = value;
        return result;
    }
};

// Task codes the pages queue (the same numbers as DeviceSession's DeviceTask).
namespace PageTaskCode {
constexpr int kProfileSwitch = 5;
constexpr int kSendButton = 6;
constexpr int kResetButton = 7;
constexpr int kSendLighting = 8;
constexpr int kSendDpi = 9;
constexpr int kSendReportRate = 10;
constexpr int kSendSensor = 11;
constexpr int kSendDebounce = 12;
constexpr int kSendWakeup = 13;
constexpr int kRestoreButtons = 15;
}  // namespace PageTaskCode

inline PageTask MakeTask(int code) {
    PageTask task;
    task.code = code;
    return task;
}
