#include "platform/hidden_program.h"

#include "platform/files.h"
#include "platform/posix/native_text.h"
#include "platform/posix/process_spawn.h"

std::string UnpackerProgramPath(const std::string& folder) { return JoinPath(folder, "ferrule"); }

bool RunHiddenAndWait(const std::string& program, const std::string& argument) {
  ProcessSetup setup;
  setup.outputFile = "/dev/null";
  return SpawnAndWait({Utf8FromText(program), Utf8FromText(argument)}, setup) != kNotStarted;
}
