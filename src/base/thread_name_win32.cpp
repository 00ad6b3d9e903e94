#include <windows.h>

#include <bit>
#include <string>

#include "base/thread_name.h"

namespace kestrin::base {

void SetCurrentThreadName(std::u16string_view name) {
    std::wstring text = name.empty() ? std::wstring(L"IdThread (unknown)") : std::wstring(name.begin(), name.end());
    // Looked up at run time: systems before Windows 10 1607 lack the function.
    using Describe = HRESULT WINAPI(HANDLE, PCWSTR);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const FARPROC address = kernel != nullptr ? ::GetProcAddress(kernel, "SetThreadDescription") : nullptr;
    if (address != nullptr) std::bit_cast<Describe*>(address)(::GetCurrentThread(), text.c_str());
}

}  // namespace kestrin::base
