#pragma once

#include <sys/types.h>

#include <string>

#include "app/console/PrivateDbusDaemon.h"

// A talvane-virtual-mouse of the program's own, for a person who has no mouse: started from
// the program folder in a fresh folder, with its onboard memory kept in the data folder so that
// it survives restarts as a real mouse does. Over Bluetooth LE it plays the desktop's
// Bluetooth service on a dbus-daemon of its own, so that its battery is seen. Told to quit
// when this object goes, and its bus stopped after it.
class VirtualMouseProcess {
public:
    VirtualMouseProcess() = default;
    ~VirtualMouseProcess();
    VirtualMouseProcess(const VirtualMouseProcess&) = delete;
    VirtualMouseProcess& operator=(const VirtualMouseProcess&) = delete;

    // mode: cable, receiver or bluetooth. False (with a message on stderr) when it cannot start
    // or its interfaces do not appear within a few seconds.
    bool Start(const std::string& mode, int deviceType);
    const std::string& Folder() const { return folder_; }
    // The bus where it serves its battery; empty when it serves none.
    const std::string& BluezBus() const { return bus_.Address(); }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::string folder_;
    PrivateDbusDaemon bus_;
};
