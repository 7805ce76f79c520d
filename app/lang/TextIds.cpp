#include "app/lang/TextIds.h"

namespace {

const TextIdRange kRanges[] = {
    {2, 2, "About window footer"},
    {5, 7, "tooltips of the close, minimise and maximise buttons; About window close"},
    {11, 12, "button that opens a panel; tray menu exit"},
    {16, 16, "About window firmware version caption"},
    {20, 20, "message box single button"},
    {23, 23, "message box confirm button"},
    {25, 27, "message box cancel button; import, export"},
    {30, 32, "delete, copy, paste"},
    {36, 36, "cut"},
    {38, 39, "apply, insert"},
    {50, 57, "connection states, Bluetooth message, not-connected message"},
    {61, 61, "profile word and Bluetooth message title"},
    {70, 76, "system button and tab texts"},
    {100, 177, "button page: titles, kind labels, function names, panels, messages, button names"},
    {180, 187, "button names of the shipped device descriptions"},
    {250, 260, "DPI page and polling rate"},
    {265, 276, "lighting page"},
    {280, 286, "lighting effect names"},
    {350, 405, "macro page, menus and messages"},
    {500, 548, "performance page and pointer settings"},
    {550, 559, "system page"},
    {570, 577, "system page messages and the common message-box title"},
};

}  // namespace

std::span<const TextIdRange> TextIdRanges() {
    return kRanges;
}

std::vector<int> TextIdsInUse() {
    std::vector<int> ids;
    for (const TextIdRange& range : kRanges) {
        for (int id = range.first; id <= range.last; ++id) {
            ids.push_back(id);
        }
    }
    return ids;
}
