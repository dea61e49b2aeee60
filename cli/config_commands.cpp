// pellory-cli config: the configuration file sealed and opened, and read the
// way the window reads it.
//
// encrypt and decrypt turn a whole file into another; keys and value print
// what the window's two reads of the configuration give. Standard output
// holds the keys or the value alone; every failure goes to standard error.
#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "downloader/config_container.h"
#include "downloader/config_file.h"
#include "downloader/config_password.h"
#include "platform/console.h"

namespace {
struct Settings {
  std::string input, output;  // encrypt and decrypt
  std::string section, key;   // keys and value
  std::string config;         // empty: File_Cfg.ini in the home folder
  HomeFolder home;
  std::string password = kConfigPassword;

  std::string ConfigPath() const { return config.empty() ? home.ConfigFile() : CommandLinePath(config); }
};

void AddPasswordOption(CLI::App& command, Settings& settings) {
  command.add_option("--password", settings.password,
                     "The password of the file (default: the program's own; '' for a plain text file)");
}

void AddConfigOptions(CLI::App& command, Settings& settings) {
  command.add_option("--config", settings.config, "The configuration file (default: File_Cfg.ini in the home folder)")
      ->check([](const std::string& file) { return file.empty() ? std::string("names no file") : std::string(); });
  AddHomeOption(command, settings.home);
  AddPasswordOption(command, settings);
}

int Encrypt(const Settings& settings) {
  const std::optional<std::vector<std::uint8_t>> text = ReadInputFile(settings.input);
  if (!text) return exit_code::kFailed;
  const std::optional<std::vector<std::uint8_t>> sealed =
      SealConfigContainer(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()),
                          settings.password);
  if (!sealed) {
    Complain("could not encrypt " + settings.input + ": the system's cipher failed");
    return exit_code::kFailed;
  }
  return WriteOutputFile(settings.output, *sealed) ? exit_code::kDone : exit_code::kFailed;
}

int Decrypt(const Settings& settings) {
  const std::optional<std::vector<std::uint8_t>> sealed = ReadInputFile(settings.input);
  if (!sealed) return exit_code::kFailed;
  const std::optional<std::string> text = OpenConfigContainer(*sealed, settings.password);
  if (!text) {
    Complain("could not decrypt " + settings.input + ": wrong password or damaged file");
    return exit_code::kFailed;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text->data());
  return WriteOutputFile(settings.output, {bytes, text->size()}) ? exit_code::kDone : exit_code::kFailed;
}

int PrintKeys(const Settings& settings) {
  std::string path = settings.ConfigPath();
  const std::optional<std::vector<std::string>> keys = ReadConfigKeys(path, settings.password, settings.section);
  if (!keys) return exit_code::kFailed;
  std::string lines;
  for (const std::string& key : *keys) lines += key + "\n";
  WriteConsoleText(lines);
  return exit_code::kDone;
}

// A missing section or key prints an empty line, as the window reads an
// empty text; only a file that can't be opened fails.
int PrintValue(const Settings& settings) {
  std::string path = settings.ConfigPath();
  if (!ReadConfigKeys(path, settings.password, settings.section)) return exit_code::kFailed;
  WriteConsoleText(ReadConfigValue(path, settings.password, settings.section, settings.key) + "\n");
  return exit_code::kDone;
}

// Adds one config subcommand whose settings outlive this function: the
// chosen command reads them.
std::pair<CLI::App*, std::shared_ptr<Settings>> AddCommand(CLI::App& config, Command& chosen, const char* name,
                                                           const char* description, int (*run)(const Settings&)) {
  auto settings = std::make_shared<Settings>();
  CLI::App* command = config.add_subcommand(name, description);
  command->callback([&chosen, settings, run] { chosen = [settings, run] { return run(*settings); }; });
  return {command, settings};
}
}  // namespace

void AddConfigCommands(CLI::App& app, Command& chosen) {
  CLI::App* config = app.add_subcommand("config", "Seal, open and read the configuration file File_Cfg.ini");
  config->require_subcommand(1);

  auto [encrypt, encryptSettings] =
      AddCommand(*config, chosen, "encrypt", "Seal a plain configuration text with a password", Encrypt);
  encrypt->add_option("PLAIN", encryptSettings->input, "The plain text")->required();
  encrypt->add_option("OUT", encryptSettings->output, "The sealed file to write")->required();
  AddPasswordOption(*encrypt, *encryptSettings);

  auto [decrypt, decryptSettings] =
      AddCommand(*config, chosen, "decrypt", "Open a sealed configuration file into its plain text", Decrypt);
  decrypt->add_option("IN", decryptSettings->input, "The sealed file")->required();
  decrypt->add_option("OUT", decryptSettings->output, "The plain text to write")->required();
  AddPasswordOption(*decrypt, *decryptSettings);

  auto [keys, keysSettings] =
      AddCommand(*config, chosen, "keys", "Print the keys of a section, one a line, in file order", PrintKeys);
  keys->add_option("SECTION", keysSettings->section, "The section, in any letter case")->required();
  AddConfigOptions(*keys, *keysSettings);

  auto [value, valueSettings] =
      AddCommand(*config, chosen, "value", "Print the value of a key (an empty line when there is none)", PrintValue);
  value->add_option("SECTION", valueSettings->section, "The section, in any letter case")->required();
  value->add_option("KEY", valueSettings->key, "The key, letter case included")->required();
  AddConfigOptions(*value, *valueSettings);
}
