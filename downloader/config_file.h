#pragma once
// The only access to the configuration file: the keys of a section and the
// value of a key. Every call opens the file, reads it whole and closes it, so
// the file on disk always decides; a file that can't be opened (missing,
// unreadable, a wrong password, a damaged or foreign stored form) reads as
// no file at all, silently.
//
// `path` is completed in place when it names no folder: such a name is
// looked for in the system's folder for bare names (the Windows directory on
// Windows), and the caller's variable then holds the completed path.
#include <string>
#include <string_view>
#include <vector>

// Appends the section's keys to `keys` in file order; true also when the
// section is missing, false (and `keys` unchanged) when the file can't be
// opened.
bool ListConfigKeys(std::string& path, std::string_view password, std::string_view section,
                    std::vector<std::string>& keys);

// The value of `key` in `section`, or `fallback` when the section or key is
// missing, or the empty text (not `fallback`) when the file can't be opened.
std::string ReadConfigValue(std::string& path, std::string_view password, std::string_view section,
                            std::string_view key, std::string_view fallback = {});
