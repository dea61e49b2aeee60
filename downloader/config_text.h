#pragma once
// The rules by which the configuration text is read: lines, sections and
// keys. The text is GBK; a NUL or 0x1A byte ends it, lines end at LF (a CR
// before the LF is dropped), section names match without regard to the case
// of ASCII letters, key names match exactly, and the first section and the
// first key of a name win.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys of the section, in text order, without the blanks around them;
// duplicates and empty keys included. None when the section is missing.
std::vector<std::string> ParseConfigKeys(std::string_view text, std::string_view section);

// The value of the first line of the section whose key is `key` and which
// splits at its "=" into exactly two pieces; blanks around the value are kept.
// Nothing when the section or such a line is missing.
std::optional<std::string> FindConfigValue(std::string_view text, std::string_view section, std::string_view key);
