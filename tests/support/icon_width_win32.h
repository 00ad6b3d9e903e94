#pragma once
// The width in pixels of an icon's image, 0 for none.

#include <windows.h>

#include "ui/win32_handles.h"

namespace kestrin::test {

inline int IconWidth(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
    const ui::UniqueBitmap colour(info.hbmColor);
    const ui::UniqueBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(colour.Get(), sizeof bitmap, &bitmap);
    return bitmap.bmWidth;
}

}  // namespace kestrin::test
