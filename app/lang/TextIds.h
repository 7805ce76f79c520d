#pragma once

#include <span>
#include <vector>

// The text ids of the language files that the program looks up. Both shipped files define
// every id of every range below (a test holds them to it); an id a screen needs is taken from
// its range, and a new range is added here first.

namespace TextId {
constexpr int kAboutFooter = 2;
constexpr int kCloseTooltip = 5;
constexpr int kMinimiseTooltip = 6;
constexpr int kMaximiseTooltip = 7;
constexpr int kSetButton = 11;
constexpr int kTrayExit = 12;
constexpr int kFirmwareVersion = 16;
constexpr int kOkButton = 20;
constexpr int kConfirmButton = 23;
constexpr int kCancelButton = 25;
constexpr int kImport = 26;
constexpr int kExport = 27;
constexpr int kDelete = 30;
constexpr int kCopy = 31;  // also the word that names a copied macro
constexpr int kPaste = 32;
constexpr int kCut = 36;
constexpr int kApply = 38;
constexpr int kInsert = 39;
constexpr int kStateNoDevice = 50;
constexpr int kStateCable = 51;
constexpr int kStateReceiverOnline = 52;
constexpr int kStateReceiverOffline = 53;
constexpr int kStateBluetoothOnline = 54;
constexpr int kStateBluetoothOffline = 55;
constexpr int kBluetoothOnlyMessage = 56;
constexpr int kNotConnectedMessage = 57;
constexpr int kProfileWord = 61;  // default profile names: "<word> 1" ... "<word> 5"
constexpr int kSystemButton = 70;
constexpr int kTabHome = 71;  // tabs 71-76, then kTabSystem
constexpr int kTabSystem = 550;
constexpr int kCustomName = 351;  // default macro names: "<word> 1", "<word> 2", ...
constexpr int kMessageTitle = 576;
constexpr int kNameInUseMessage = 577;
}  // namespace TextId

struct TextIdRange {
    int first;
    int last;  // inclusive
    const char* usedBy;
};

// In ascending order, without overlaps.
std::span<const TextIdRange> TextIdRanges();

// Every id of the ranges, ascending.
std::vector<int> TextIdsInUse();
