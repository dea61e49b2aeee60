#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

// What a started program gets besides its arguments. Empty texts keep the
// caller's folder, standard output or standard error; standard input is
// /dev/null, so a child never waits for a person.
struct ProcessSetup {
  std::string workingDirectory;
  std::string outputFile;  // created or emptied
  std::string errorFile;   // created or emptied
};

// What SpawnAndWait and WaitForProcess return for a program that did not start.
inline constexpr int kNotStarted = -1;

// Starts a program (native UTF-8 texts): its process id, or -1.
pid_t StartProcess(const std::vector<std::string>& arguments, const ProcessSetup& setup);

// Waits for a started program and reaps it. Returns its exit status, or
// 128 + the number of the signal that ended it; an interruption of this
// program stops the child (see platform/interruption.h).
int WaitForProcess(pid_t pid);

// Starts a program and waits for it: its exit status as WaitForProcess
// gives it, or kNotStarted.
int SpawnAndWait(const std::vector<std::string>& arguments, const std::string& workingDirectory,
                 const std::string& outputFile);
int SpawnAndWait(const std::vector<std::string>& arguments, const ProcessSetup& setup);

// A regular file that this user may run (a folder of that name is none).
bool IsExecutableFile(const std::string& path);

// The full path of `name` in PATH, or empty.
std::string FindInPath(const std::string& name);
