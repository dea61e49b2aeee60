#include "downloader/download_address.h"

#include <algorithm>

namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsKnownScheme(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), Lower);
  return name == "http" || name == "https" || name == "ftp";
}

bool HasBlankOrControl(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
  });
}
}  // namespace

bool IsDownloadAddress(const std::string& url) {
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string::npos || HasBlankOrControl(url) || !IsKnownScheme(url.substr(0, schemeEnd)))
    return false;
  const std::size_t hostStart = schemeEnd + 3;
  const std::size_t hostEnd = std::min(url.find_first_of("/?#", hostStart), url.size());
  std::string authority = url.substr(hostStart, hostEnd - hostStart);
  // "user:password@host:port": what follows the last "@" names the server.
  const std::size_t at = authority.rfind('@');
  if (at != std::string::npos) authority.erase(0, at + 1);
  return !authority.empty() && authority[0] != ':';
}
