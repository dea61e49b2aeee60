#include "unpacker/command_line.h"

#include "common/gbk_text.h"

namespace {
bool IsSeparator(char c) { return static_cast<unsigned char>(c) < '!'; }

std::string TakeQuoted(std::string_view text, std::size_t& pos) {
  std::size_t start = ++pos;
  while (pos < text.size() && text[pos] != '"') pos += gbk::CharLength(text, pos);
  std::string argument(text.substr(start, pos - start));
  if (pos < text.size()) ++pos;  // the closing quote
  return argument;
}

std::string TakePlain(std::string_view text, std::size_t& pos) {
  std::size_t start = pos;
  while (pos < text.size() && !IsSeparator(text[pos])) pos += gbk::CharLength(text, pos);
  return std::string(text.substr(start, pos - start));
}
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  bool programName = true;
  for (;;) {
    while (pos < commandLine.size() && IsSeparator(commandLine[pos])) ++pos;
    if (pos >= commandLine.size()) break;
    std::string argument = commandLine[pos] == '"' ? TakeQuoted(commandLine, pos) : TakePlain(commandLine, pos);
    if (!programName) arguments.push_back(std::move(argument));
    programName = false;
  }
  return arguments;
}
