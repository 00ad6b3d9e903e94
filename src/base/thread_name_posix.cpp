#include <pthread.h>

#include <string>

#include "base/text.h"
#include "base/thread_name.h"

namespace kestrin::base {

void SetCurrentThreadName(std::u16string_view name) {
    std::string text = Utf16ToUtf8(name.empty() ? std::u16string_view(u"IdThread (unknown)") : name);
    // Linux keeps 15 bytes of a thread name and refuses longer ones.
    constexpr std::size_t kLinuxNameLength = 15;
    if (text.size() > kLinuxNameLength) text.resize(kLinuxNameLength);
    ::pthread_setname_np(::pthread_self(), text.c_str());
}

}  // namespace kestrin::base
