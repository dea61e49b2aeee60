#pragma once
// The platform's download transport for HTTP, HTTPS and FTP: libcurl on
// Linux, WinINet on Windows.
#include <memory>

#include "downloader/transport.h"

std::shared_ptr<Transport> CreateDownloadTransport();
