#include "unpacker/command_line.h"
#include "unpacker/console_sink.h"
#include "unpacker/ferrule_program.h"
#include "platform/program.h"

int main(int argc, char** argv) {
  SystemConsole console;
  const std::string runDirectory = RunDirectory();
  return RunFerrule(ProgramArguments(argc, argv, SplitCommandLine), console,
                    [&runDirectory] { return FindSevenZip(runDirectory); });
}
