#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/devicedesc/DeviceList.h"

// A model's description file, device/<device_attr>.xml: its pictures and its buttons. The main
// window turns these into the pictures, the button map, the button list and the default
// assignments of the button page.

struct ButtonPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ButtonPoint&) const = default;
};

// One key element. Text ids are kept both as numbers (for the language lookup) and as written
// (the default assignment stores them as text).
struct DeviceButton {
    int32_t nameId = 0;
    std::wstring nameText;  // the name attribute as written
    int32_t keyValue = 0;   // button index of the assignment page and the protocol
    int32_t direction = 0;  // 1: label right of point2, else left of point1
    ButtonPoint point1;     // (a, c) of rect a#b#c, button map coordinates
    ButtonPoint point2;     // (b, c)
    int32_t funcDescId = 0;
    std::wstring funcDescText;  // the func_desc attribute as written
    int32_t funcType = 0;
    int32_t funcValue = 0;
};

// The default assignment of one button, as the button page keeps it.
struct DefaultButtonAssignment {
    int32_t keyIndex = 0;  // both key fields hold key_value
    int32_t keyValue = 0;
    std::wstring name;
    int32_t funcType = 0;
    int32_t funcValue = 0;
    std::wstring funcDesc;
};

struct DevicePictures {
    std::wstring homeImage;   // home page picture
    std::wstring mouseImage;  // small picture of the other pages
    std::wstring capImage;    // caption picture
};

struct DeviceDescription {
    DevicePictures pictures;
    std::vector<DeviceButton> buttons;
    std::vector<DefaultButtonAssignment> defaults;
    std::wstring firmwareUrl;
};

// What one reading of a description file found. Parts that were not found leave the
// description's previous contents alone.
struct DescriptionReadResult {
    bool loaded = false;  // the file loaded and its root is "mouse"
    bool picturesFound = false;
    bool buttonsFound = false;
    bool firmwareFound = false;
};

// Reads a description file into description. The children of "mouse" are looked for in the
// order image_file, menu, firmware, mouse_key, each after the previous match.
DescriptionReadResult LoadDeviceDescription(std::wstring_view path, DeviceDescription& description);

// rect "a#b#c": the text before the first '#' is a, before the next '#' b, the rest c; at a
// missing '#' the part before it counts as empty.
void SplitButtonRect(std::wstring_view rect, ButtonPoint& point1, ButtonPoint& point2);

// program folder + "device/" + model + ".xml".
std::wstring DeviceDescriptionPath(std::wstring_view programFolder, std::wstring_view model);
// A picture name as the toolkit's image loading wants it: "device/" + name.
std::wstring DevicePictureName(std::wstring_view file);

// Window placements at scale s (client height / 780), in client pixels.
struct PlacementRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PlacementRect&) const = default;
};
// The button list: rows of 6 + 27s, at (100 + 15s, 75 + 50s + 36s), 220s wide.
PlacementRect ButtonListPlacement(float scale, int32_t buttonCount);
// The home picture centred in the client area.
PlacementRect HomePicturePlacement(int32_t clientWidth, int32_t clientHeight, int32_t imageWidth,
                                   int32_t imageHeight);
// The small picture: right edge 155 left of the client's right edge, top 120.
PlacementRect SmallPicturePlacement(int32_t clientRight, int32_t imageWidth, int32_t imageHeight);

// After a model change: closes the store if it is open and opens (or creates) the model's
// database in the data folder. An empty model name gives "_data.db", as for a missing list.
bool OpenModelDatabase(std::wstring_view model);
