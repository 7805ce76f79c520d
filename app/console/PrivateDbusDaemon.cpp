#include "app/console/PrivateDbusDaemon.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

extern char** environ;

namespace {

constexpr int kStartTimeoutMs = 10000;

// The daemon prints its address once it listens; that line is the sign it is ready.
std::string ReadAddressLine(int fd) {
    std::string line;
    while (line.find('\n') == std::string::npos) {
        pollfd ready = {fd, POLLIN, 0};
        if (poll(&ready, 1, kStartTimeoutMs) <= 0) {
            return {};
        }
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return {};
        }
        line.append(buffer, static_cast<size_t>(got));
    }
    return line.substr(0, line.find('\n'));
}

}  // namespace

bool PrivateDbusDaemon::Start(const std::string& folder) {
    Stop();
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        std::perror("dbus-daemon pipe");
        return false;
    }
    // A configuration of our own: the session one would also set up service folders in the
    // runtime folder, which nobody here needs.
    const std::string config = folder + "/bus.conf";
    {
        std::ofstream out(config, std::ios::trunc);
        out << "<busconfig>\n"
               "  <type>session</type>\n"
               "  <listen>unix:path="
            << folder
            << "/bus</listen>\n"
               "  <auth>EXTERNAL</auth>\n"
               "  <policy context=\"default\">\n"
               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
               "    <allow eavesdrop=\"true\"/>\n"
               "    <allow own=\"*\"/>\n"
               "  </policy>\n"
               "</busconfig>\n";
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", config.c_str());
            close(pipeFds[0]);
            close(pipeFds[1]);
            return false;
        }
    }
    const std::string configOption = "--config-file=" + config;
    const std::string printAddress = "--print-address=" + std::to_string(pipeFds[1]);
    const char* argv[] = {"dbus-daemon",        "--nofork",           "--nopidfile",
                          configOption.c_str(), printAddress.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // The daemon must not hold a terminal's input or keep a caller's pipes open.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // As root it complains that it cannot raise its file limit; its failures show as no
    // address, reported below.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid_, "dbus-daemon", &actions, nullptr,
                                     const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        pid_ = -1;
        close(pipeFds[0]);
        std::fprintf(stderr, "cannot start dbus-daemon (is the dbus package installed?)\n");
        return false;
    }
    address_ = ReadAddressLine(pipeFds[0]);
    close(pipeFds[0]);
    if (address_.empty()) {
        std::fprintf(stderr, "dbus-daemon did not start listening in %s\n", folder.c_str());
        Stop();
        return false;
    }
    return true;
}

void PrivateDbusDaemon::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    address_.clear();
}

PrivateDbusDaemon::~PrivateDbusDaemon() {
    Stop();
}
