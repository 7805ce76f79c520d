#pragma once

#include <string>

// Per-user folders of the XDG base-directory rules, without a trailing '/'. A relative or
// empty variable is ignored, as the rules ask; without HOME the result is empty.
std::string XdgConfigHome();  // $XDG_CONFIG_HOME, else ~/.config
std::string XdgDataHome();    // $XDG_DATA_HOME, else ~/.local/share

// The running program's real path, from /proc/self/exe; empty when it cannot be read.
std::string ExecutablePath();
