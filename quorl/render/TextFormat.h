#pragma once

#include "quorl/core/BaseTypes.h"

namespace Quorl {

// Text layout flags, with the values the controls store (alignment 0/1/2, vertical 0/4/8).
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_WORD_ELLIPSIS = 0x40000;

// Layout of measured or drawn text in the form the measuring calls take.
enum class StringAlignment { Near, Center, Far };
enum class StringTrimming { None, Character, Word, EllipsisCharacter, EllipsisWord };

struct StringFormat {
    StringAlignment alignment = StringAlignment::Near;
    StringAlignment lineAlignment = StringAlignment::Near;
    bool noWrap = false;
    StringTrimming trimming = StringTrimming::None;

    // The same layout as text flags.
    UINT ToTextFlags() const {
        UINT f = alignment == StringAlignment::Center ? DT_CENTER
                 : alignment == StringAlignment::Far  ? DT_RIGHT
                                                      : DT_LEFT;
        f |= lineAlignment == StringAlignment::Center ? DT_VCENTER
             : lineAlignment == StringAlignment::Far  ? DT_BOTTOM
                                                      : DT_TOP;
        f |= noWrap ? DT_SINGLELINE : DT_WORDBREAK;
        if (trimming == StringTrimming::EllipsisCharacter) {
            f |= DT_END_ELLIPSIS;
        } else if (trimming == StringTrimming::EllipsisWord) {
            f |= DT_WORD_ELLIPSIS;
        }
        return f;
    }
};

}  // namespace Quorl
