#pragma once

#include <sys/types.h>

#include <string>

// A dbus-daemon of our own, listening on a socket in a given folder, for a virtual mouse that
// plays the desktop's Bluetooth service. Stopped when this object goes.
class PrivateDbusDaemon {
public:
    PrivateDbusDaemon() = default;
    ~PrivateDbusDaemon();
    PrivateDbusDaemon(const PrivateDbusDaemon&) = delete;
    PrivateDbusDaemon& operator=(const PrivateDbusDaemon&) = delete;

    // False (with a message on stderr) when dbus-daemon cannot be started or does not listen
    // within a few seconds. Returns once clients can connect.
    bool Start(const std::string& folder);
    void Stop();
    // The bus's D-Bus address; empty while not running.
    const std::string& Address() const { return address_; }

private:
    pid_t pid_ = -1;
    std::string address_;
};
