#pragma once
#include <string>
#include <string_view>
#include <vector>

// The folder that holds the running program, without a trailing separator.
std::string RunDirectory();

// The folder in which a file named without any folder is looked for: the
// Windows directory on Windows, the current folder elsewhere. No trailing
// separator.
std::string SystemDirectoryForBarePaths();

using CommandLineSplitter = std::vector<std::string> (*)(std::string_view commandLine);

// The program's arguments, its own name left out. Windows hands a program one
// command-line text, which `split` divides; elsewhere the shell has already
// divided it into argv. Without `split`, Windows divides by its usual rule.
std::vector<std::string> ProgramArguments(int argc, char** argv, CommandLineSplitter split);
