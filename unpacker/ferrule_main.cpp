#include "command_line.h"
#include "console_sink.h"
#include "ferrule_program.h"
#include "program.h"

int main(int argc, char** argv) {
  SystemConsole console;
  const std::string runDirectory = RunDirectory();
  return RunFerrule(ProgramArguments(argc, argv, SplitCommandLine), console,
                    [&runDirectory] { return FindSevenZip(runDirectory); });
}
