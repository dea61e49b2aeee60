#pragma once
// Starting a helper program with no window of its own and waiting for it.
#include <string>

// The unpacker program that lies in `folder`: Ferrule.exe on Windows,
// ferrule elsewhere.
std::string UnpackerProgramPath(const std::string& folder);

// Starts `program` on one argument, in the caller's current folder, with no
// window shown (and, where programs have no windows, its standard output
// discarded), and waits without time limit for its end. False when it could
// not be started. On Windows the command line is the program and the
// argument, each between double quotes, two blanks apart.
bool RunHiddenAndWait(const std::string& program, const std::string& argument);
