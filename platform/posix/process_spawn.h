#pragma once
#include <string>
#include <vector>

// Runs a program (native UTF-8 texts) and waits for it. An empty
// `workingDirectory` or `outputFile` keeps the caller's; standard input is
// /dev/null, so a child never waits for a person. Returns the exit status,
// or -1 when the program could not be started.
int SpawnAndWait(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                 const std::string& outputFile);

// A regular file that this user may run (a folder of that name is none).
bool IsExecutableFile(const std::string& path);

// The full path of `name` in PATH, or empty.
std::string FindInPath(const std::string& name);
