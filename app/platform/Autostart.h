#pragma once

#include <string>

// Start at log-on through the XDG autostart entry "$XDG_CONFIG_HOME/autostart/Talvane.desktop",
// which runs this very program file with "-hide".
void SetAutostart(bool on);
// True when the entry exists and is not marked Hidden=true.
bool IsAutostartOn();

std::string AutostartEntryPath();
// The Exec value for a program path: the path quoted and escaped as desktop entries need,
// followed by " -hide".
std::string AutostartExecLine(const std::string& programPath);
