#pragma once
// Skip_Npk.ini: one section per game folder naming files that a scan never
// reports. A line "name=anything" names a file; there are no comments, and a
// section runs to the next "[" anywhere in the text.
#include <string>
#include <string_view>
#include <vector>

// Appends the names of `section` in `text` (read up to its first zero byte).
void ParseSkipList(std::string_view text, const std::string& section, std::vector<std::string>& names);

// Appends the names of `section` in the file at `path`; false, appending
// nothing, when there is no such file.
bool ReadSkipList(const std::string& path, const std::string& section, std::vector<std::string>& names);
