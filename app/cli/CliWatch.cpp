// watch: runs the device worker as the window does and prints what the mouse reports by
// itself, until interrupted or standard input closes.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "app/cli/CliCommands.h"
#include "app/cli/CliSession.h"
#include "app/cli/WatchView.h"
#include "app/device/DeviceSession.h"
#include "app/device/DeviceTaskQueue.h"
#include "app/device/HidDeviceManager.h"

namespace {

int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(g_stopPipe[1], &byte, 1);
}

// Until a stop signal or the end of standard input; what is typed is ignored.
void WaitForEnd() {
    if (pipe(g_stopPipe) != 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    bool inputOpen = true;
    while (true) {
        pollfd fds[2] = {{g_stopPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int ready = poll(fds, inputOpen ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (inputOpen && fds[1].revents != 0) {
            char buffer[256];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0 && !(got < 0 && errno == EINTR)) {
                return;
            }
        }
    }
}

}  // namespace

int CliWatch(CliSession& s, const CliArgs& args) {
    if (!args.empty()) {
        return CliUsageError(s, "watch takes no arguments");
    }
    if (int refused = s.RefuseWhileWindowRuns(); refused != kExitDone) {
        return refused;
    }
    WatchView view(s.Out());
    view.SetQuiet(true);
    const bool connected = s.ConnectMouse(&view, false) == kExitDone;
    view.SetQuiet(false);
    // Without a mouse watch still waits for one to be plugged in.
    if (!connected) {
        view.ShowNoMouse();
    } else if (s.ConnectionMode() == kModeBluetooth) {
        view.SetStatusText(54);  // nothing is read over Bluetooth LE; it is there, that is all
        // The quiet pass swallowed the battery's first level; read it again to show it.
        view.OpenBluetoothBattery();
    }
    if (!s.WatchDeviceChanges()) {
        s.Out().Error("cannot follow device changes");
        return kExitFailed;
    }
    // As the window starts: read the mouse into the store, then follow it.
    if (s.Connected() && s.ConnectionMode() != kModeBluetooth) {
        s.Tasks().Push(kTaskInitialSync);
    }
    if (!s.StartWorker()) {
        s.Out().Error("the device worker did not start");
        return kExitFailed;
    }
    WaitForEnd();
    s.StopWorker();
    s.CloseBluetoothBattery();  // the view goes with this function
    return kExitDone;
}
