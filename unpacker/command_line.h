#pragma once
#include <string>
#include <string_view>
#include <vector>

// Splits a Windows command line into arguments, the program's own name left
// out. Arguments end at blanks and other bytes below '!'; one that begins
// with a double quote runs to the next double quote; a byte of 0x80 or above
// always takes the next byte along, so a double-byte character never splits.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
