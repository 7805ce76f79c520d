#pragma once

#include <string>
#include <vector>

#include "app/pages/ButtonSettings.h"

class CliSession;

// The model's buttons from its description file, with their default functions; names gets
// each button's name when given.
std::vector<ButtonDefault> CliButtonDefaults(CliSession& s, std::vector<std::wstring>* names);
ButtonIndexList CliButtonIndices(CliSession& s);
// Stores the function for the button and sends it; what names it in the result line.
int CliSetButton(CliSession& s, int button, const ButtonFunctionChoice& choice,
                 const std::string& what);
