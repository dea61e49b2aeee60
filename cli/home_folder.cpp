#include "cli/home_folder.h"

#include <CLI/CLI.hpp>

#include "platform/program.h"

void AddHomeOption(CLI::App& command, std::string& home) {
  home = RunDirectory();
  command.add_option("--home", home, "The folder holding File_Cfg.ini, lst_file and Download (default: the program's)");
}
