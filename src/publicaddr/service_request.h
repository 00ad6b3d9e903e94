#pragma once
// One question to one public address service: a GET of the URL whose
// User-Agent is the URL itself, with no headers of the program's own, the
// response status not looked at. Windows uses WinINet with the system's
// proxy settings and time-outs; elsewhere libcurl, with 10 s to connect and
// 30 s for the whole request, as nothing else there bounds a stalled service.

#include <string>

#include "publicaddr/answer_body.h"

namespace kestrin::publicaddr {

// The body as far as it could be read: a failure part-way keeps the bytes
// that came before it, and a request that could not be made at all (no
// network, unknown host, refused, a text that is no URL) gives an empty
// body. Network failures are never thrown.
AnswerBody AskService(const std::u16string& url);

}  // namespace kestrin::publicaddr
