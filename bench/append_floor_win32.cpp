#include <windows.h>

#include "append_floor.h"

void BareAppend(const std::u16string& path, std::string_view bytes) {
    const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_APPEND_DATA,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}
