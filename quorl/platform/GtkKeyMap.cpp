#include "quorl/platform/GtkKeyMap.h"

#include <gdk/gdkkeysyms.h>

#include <unordered_map>

#include "quorl/platform/VirtualKeys.h"

namespace Quorl {

namespace {

const std::unordered_map<unsigned, int>& Table() {
    static const std::unordered_map<unsigned, int> table = {
        {GDK_KEY_BackSpace, VK_BACK},
        {GDK_KEY_Tab, VK_TAB},
        {GDK_KEY_ISO_Left_Tab, VK_TAB},
        {GDK_KEY_Clear, VK_CLEAR},
        {GDK_KEY_Return, VK_RETURN},
        {GDK_KEY_KP_Enter, VK_RETURN},
        {GDK_KEY_Shift_L, VK_LSHIFT},
        {GDK_KEY_Shift_R, VK_RSHIFT},
        {GDK_KEY_Control_L, VK_LCONTROL},
        {GDK_KEY_Control_R, VK_RCONTROL},
        {GDK_KEY_Alt_L, VK_LMENU},
        {GDK_KEY_Alt_R, VK_RMENU},
        {GDK_KEY_Meta_L, VK_LMENU},
        {GDK_KEY_Meta_R, VK_RMENU},
        {GDK_KEY_ISO_Level3_Shift, VK_RMENU},  // AltGr
        {GDK_KEY_Pause, VK_PAUSE},
        {GDK_KEY_Break, VK_CANCEL},
        {GDK_KEY_Caps_Lock, VK_CAPITAL},
        {GDK_KEY_Escape, VK_ESCAPE},
        {GDK_KEY_space, VK_SPACE},
        {GDK_KEY_KP_Space, VK_SPACE},
        {GDK_KEY_Page_Up, VK_PRIOR},
        {GDK_KEY_KP_Page_Up, VK_PRIOR},
        {GDK_KEY_Page_Down, VK_NEXT},
        {GDK_KEY_KP_Page_Down, VK_NEXT},
        {GDK_KEY_End, VK_END},
        {GDK_KEY_KP_End, VK_END},
        {GDK_KEY_Home, VK_HOME},
        {GDK_KEY_KP_Home, VK_HOME},
        {GDK_KEY_Left, VK_LEFT},
        {GDK_KEY_KP_Left, VK_LEFT},
        {GDK_KEY_Up, VK_UP},
        {GDK_KEY_KP_Up, VK_UP},
        {GDK_KEY_Right, VK_RIGHT},
        {GDK_KEY_KP_Right, VK_RIGHT},
        {GDK_KEY_Down, VK_DOWN},
        {GDK_KEY_KP_Down, VK_DOWN},
        {GDK_KEY_KP_Begin, VK_CLEAR},
        {GDK_KEY_Select, VK_SELECT},
        {GDK_KEY_Print, VK_SNAPSHOT},
        {GDK_KEY_Sys_Req, VK_SNAPSHOT},
        {GDK_KEY_Execute, VK_EXECUTE},
        {GDK_KEY_Insert, VK_INSERT},
        {GDK_KEY_KP_Insert, VK_INSERT},
        {GDK_KEY_Delete, VK_DELETE},
        {GDK_KEY_KP_Delete, VK_DELETE},
        {GDK_KEY_Help, VK_HELP},
        {GDK_KEY_Super_L, VK_LWIN},
        {GDK_KEY_Super_R, VK_RWIN},
        {GDK_KEY_Menu, VK_APPS},
        {GDK_KEY_KP_Multiply, VK_MULTIPLY},
        {GDK_KEY_KP_Add, VK_ADD},
        {GDK_KEY_KP_Separator, VK_SEPARATOR},
        {GDK_KEY_KP_Subtract, VK_SUBTRACT},
        {GDK_KEY_KP_Decimal, VK_DECIMAL},
        {GDK_KEY_KP_Divide, VK_DIVIDE},
        {GDK_KEY_Num_Lock, VK_NUMLOCK},
        {GDK_KEY_Scroll_Lock, VK_SCROLL},
        {GDK_KEY_semicolon, VK_OEM_1},
        {GDK_KEY_equal, VK_OEM_PLUS},
        {GDK_KEY_comma, VK_OEM_COMMA},
        {GDK_KEY_minus, VK_OEM_MINUS},
        {GDK_KEY_period, VK_OEM_PERIOD},
        {GDK_KEY_slash, VK_OEM_2},
        {GDK_KEY_grave, VK_OEM_3},
        {GDK_KEY_bracketleft, VK_OEM_4},
        {GDK_KEY_backslash, VK_OEM_5},
        {GDK_KEY_bracketright, VK_OEM_6},
        {GDK_KEY_apostrophe, VK_OEM_7},
        {GDK_KEY_less, VK_OEM_102},  // the first level of the extra ISO key
        {GDK_KEY_Back, VK_BROWSER_BACK},
        {GDK_KEY_Forward, VK_BROWSER_FORWARD},
        {GDK_KEY_Refresh, VK_BROWSER_REFRESH},
        {GDK_KEY_Stop, VK_BROWSER_STOP},
        {GDK_KEY_Search, VK_BROWSER_SEARCH},
        {GDK_KEY_Favorites, VK_BROWSER_FAVORITES},
        {GDK_KEY_HomePage, VK_BROWSER_HOME},
        {GDK_KEY_AudioMute, VK_VOLUME_MUTE},
        {GDK_KEY_AudioLowerVolume, VK_VOLUME_DOWN},
        {GDK_KEY_AudioRaiseVolume, VK_VOLUME_UP},
        {GDK_KEY_AudioNext, VK_MEDIA_NEXT_TRACK},
        {GDK_KEY_AudioPrev, VK_MEDIA_PREV_TRACK},
        {GDK_KEY_AudioStop, VK_MEDIA_STOP},
        {GDK_KEY_AudioPlay, VK_MEDIA_PLAY_PAUSE},
        {GDK_KEY_AudioPause, VK_MEDIA_PLAY_PAUSE},
        {GDK_KEY_Mail, VK_LAUNCH_MAIL},
        {GDK_KEY_AudioMedia, VK_LAUNCH_MEDIA_SELECT},
        {GDK_KEY_MyComputer, VK_LAUNCH_APP1},
        {GDK_KEY_Calculator, VK_LAUNCH_APP2},
        {GDK_KEY_Sleep, VK_SLEEP},
    };
    return table;
}

}  // namespace

int KeyvalToVirtualKey(unsigned keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) {
        return 'A' + static_cast<int>(keyval - GDK_KEY_a);
    }
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) {
        return static_cast<int>(keyval);
    }
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) {
        return static_cast<int>(keyval);
    }
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
        return VK_NUMPAD0 + static_cast<int>(keyval - GDK_KEY_KP_0);
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) {
        return VK_F1 + static_cast<int>(keyval - GDK_KEY_F1);
    }
    auto it = Table().find(keyval);
    return it == Table().end() ? 0 : it->second;
}

}  // namespace Quorl
