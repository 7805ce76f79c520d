#include "app/devicedesc/DeviceDescription.h"

#include "app/devicedesc/AttributeNumbers.h"
#include "app/startup/Paths.h"
#include "app/store/DeviceDataDB.h"
#include "app/xml/XmlDocument.h"

void SplitButtonRect(std::wstring_view rect, ButtonPoint& point1, ButtonPoint& point2) {
    auto take = [](std::wstring_view& rest) {
        const size_t mark = rest.find(L'#');
        if (mark == std::wstring_view::npos) {
            return std::wstring_view();
        }
        const std::wstring_view part = rest.substr(0, mark);
        rest.remove_prefix(mark + 1);
        return part;
    };
    std::wstring_view rest = rect;
    const int32_t a = ParseDecimalAttribute(take(rest));
    const int32_t b = ParseDecimalAttribute(take(rest));
    const int32_t c = ParseDecimalAttribute(rest);
    point1 = {a, c};
    point2 = {b, c};
}

DescriptionReadResult LoadDeviceDescription(std::wstring_view path,
                                            DeviceDescription& description) {
    DescriptionReadResult result;
    XmlDocument document;
    if (!document.LoadFile(path) || !document.FindElement(L"mouse")) {
        return result;
    }
    result.loaded = true;
    document.EnterElement();
    if (document.FindElement(L"image_file")) {
        result.picturesFound = true;
        description.pictures.homeImage = document.ReadAttribute(L"home_img");
        description.pictures.mouseImage = document.ReadAttribute(L"mouse_img");
        description.pictures.capImage = document.ReadAttribute(L"cap_img");
    }
    document.FindElement(L"menu");
    if (document.FindElement(L"firmware")) {
        result.firmwareFound = true;
        description.firmwareUrl = document.ReadAttribute(L"url");
    }
    if (document.FindElement(L"mouse_key")) {
        result.buttonsFound = true;
        description.buttons.clear();
        description.defaults.clear();
        document.EnterElement();
        while (document.FindElement(L"key")) {
            DeviceButton button;
            button.nameText = document.ReadAttribute(L"name");
            button.nameId = ParseDecimalAttribute(button.nameText);
            button.keyValue = ParseDecimalAttribute(document.ReadAttribute(L"key_value"));
            button.direction = ParseDecimalAttribute(document.ReadAttribute(L"direction"));
            SplitButtonRect(document.ReadAttribute(L"rect"), button.point1, button.point2);
            button.funcDescText = document.ReadAttribute(L"func_desc");
            button.funcDescId = ParseDecimalAttribute(button.funcDescText);
            button.funcType = ParseDecimalAttribute(document.ReadAttribute(L"func_type"));
            button.funcValue = ParseDecimalAttribute(document.ReadAttribute(L"func_value"));
            description.defaults.push_back({button.keyValue, button.keyValue, button.nameText,
                                            button.funcType, button.funcValue,
                                            button.funcDescText});
            description.buttons.push_back(std::move(button));
        }
    }
    return result;
}

std::wstring DeviceDescriptionPath(std::wstring_view programFolder, std::wstring_view model) {
    return std::wstring(programFolder) + L"device/" + std::wstring(model) + L".xml";
}

std::wstring DevicePictureName(std::wstring_view file) {
    return L"device/" + std::wstring(file);
}

PlacementRect ButtonListPlacement(float scale, int32_t buttonCount) {
    const auto scaled = [scale](int32_t length) { return static_cast<int32_t>(length * scale); };
    const int32_t rowHeight = 6 + scaled(27);
    return {100 + scaled(15), 75 + scaled(50) + scaled(36), scaled(220), buttonCount * rowHeight};
}

PlacementRect HomePicturePlacement(int32_t clientWidth, int32_t clientHeight, int32_t imageWidth,
                                   int32_t imageHeight) {
    return {(clientWidth - imageWidth) / 2, (clientHeight - imageHeight) / 2, imageWidth,
            imageHeight};
}

PlacementRect SmallPicturePlacement(int32_t clientRight, int32_t imageWidth, int32_t imageHeight) {
    return {clientRight - imageWidth - 155, 120, imageWidth, imageHeight};
}

bool OpenModelDatabase(std::wstring_view model) {
    DeviceDataDB& store = DeviceDataDB::Instance();
    if (store.IsOpened()) {
        store.CloseDeviceDatabase();
    }
    return store.OpenDeviceDatabase(GetDataFolder(), model);
}
