#pragma once
// Whether the engine can start on an address at all: a scheme it speaks and
// a server to ask.
#include <string>

// False when the address has no scheme, one other than http, https or ftp,
// no host, or blanks and control characters that no server would accept.
bool IsDownloadAddress(const std::string& url);
