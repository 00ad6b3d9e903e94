#include <windows.h>

#include "app/application_title_win32.h"

namespace kestrin::app {

std::u16string ApplicationTitle(std::u16string_view executablePath) {
    const std::size_t separator = executablePath.find_last_of(u"\\/:");
    std::u16string title(separator == std::u16string_view::npos ? executablePath : executablePath.substr(separator + 1));
    if (const std::size_t dot = title.find(u'.'); dot != std::u16string::npos) title.resize(dot);
    if (title.size() > 1) {
        // The user's locale decides what lower case is, as everywhere in the system.
        std::wstring rest(title.begin() + 1, title.end());
        ::CharLowerBuffW(rest.data(), static_cast<DWORD>(rest.size()));
        title.resize(1);
        title.append(rest.begin(), rest.end());
    }
    return title;
}

}  // namespace kestrin::app
