#include "platform/interruption.h"
#include "platform/program.h"
#include "unpacker/command_line.h"
#include "unpacker/console_sink.h"
#include "unpacker/ferrule_program.h"

int main(int argc, char** argv) {
  CatchInterruptions();
  SystemConsole console;
  const std::string runDirectory = RunDirectory();
  return RunFerrule(ProgramArguments(argc, argv, SplitCommandLine), console,
                    [&runDirectory] { return FindSevenZip(runDirectory); });
}
