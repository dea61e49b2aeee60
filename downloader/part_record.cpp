#include "downloader/part_record.h"

#include <charconv>
#include <sstream>
#include <string_view>

#include "platform/files.h"

namespace {
constexpr std::string_view kFirstLine = "pellory part 1";

std::string RecordPath(const std::string& partPath) { return partPath + ".meta"; }

bool ParseNumber(std::string_view text, std::int64_t& value) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

// "first end" with first < end.
bool ParseSpan(std::string_view text, ByteSpan& span) {
  const std::size_t blank = text.find(' ');
  return blank != std::string_view::npos && ParseNumber(text.substr(0, blank), span.first) &&
         ParseNumber(text.substr(blank + 1), span.end) && span.first < span.end;
}

// Each line once, in this order; spans last, strictly ascending and apart.
bool ParseLine(std::string_view line, PartRecord& record, bool& haveSize) {
  auto starts = [&](std::string_view key) { return line.substr(0, key.size()) == key; };
  if (starts("size ") && !haveSize && record.validator.empty())
    return haveSize = ParseNumber(line.substr(5), record.size);
  if (starts("validator ") && haveSize && record.validator.empty() && record.done.empty()) {
    record.validator = std::string(line.substr(10));
    return IsRecordableValidator(record.validator);
  }
  ByteSpan span;
  if (!starts("done ") || record.validator.empty() || record.done.size() == kPartRecordMaxSpans ||
      !ParseSpan(line.substr(5), span) || span.end > record.size)
    return false;
  if (!record.done.empty() && span.first <= record.done.back().end) return false;
  record.done.push_back(span);
  return true;
}
}  // namespace

bool IsRecordableValidator(const std::string& validator) {
  if (validator.empty() || validator.size() > kValidatorMaxBytes) return false;
  for (char c : validator)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

std::string FormatPartRecord(const PartRecord& record) {
  std::ostringstream text;
  text << kFirstLine << "\nsize " << record.size << "\nvalidator " << record.validator << '\n';
  for (const ByteSpan& span : record.done) text << "done " << span.first << ' ' << span.end << '\n';
  return text.str();
}

std::optional<PartRecord> ParsePartRecord(const std::string& text) {
  if (text.size() > kPartRecordMaxBytes) return std::nullopt;
  std::string_view rest(text);
  PartRecord record;
  bool haveSize = false;
  bool first = true;
  while (!rest.empty()) {
    const std::size_t newline = rest.find('\n');
    if (newline == std::string_view::npos) return std::nullopt;  // a record cut short
    const std::string_view line = rest.substr(0, newline);
    rest.remove_prefix(newline + 1);
    if (first ? line != kFirstLine : !ParseLine(line, record, haveSize)) return std::nullopt;
    first = false;
  }
  if (record.validator.empty()) return std::nullopt;
  return record;
}

std::optional<PartRecord> LoadPartRecord(const std::string& partPath) {
  const std::int64_t recordSize = FileSize(RecordPath(partPath));
  if (recordSize <= 0 || recordSize > static_cast<std::int64_t>(kPartRecordMaxBytes)) return std::nullopt;
  const std::vector<std::uint8_t> bytes = ReadWholeFile(RecordPath(partPath));
  std::optional<PartRecord> record = ParsePartRecord(std::string(bytes.begin(), bytes.end()));
  if (!record) return std::nullopt;
  // Bytes the record calls done must be in the part file.
  const std::int64_t partSize = FileSize(partPath);
  const std::int64_t furthest = record->done.empty() ? 0 : record->done.back().end;
  if (partSize < furthest || partSize > record->size) return std::nullopt;
  return record;
}

bool SavePartRecord(const std::string& partPath, const PartRecord& record) {
  const std::string text = FormatPartRecord(record);
  return WriteWholeFile(RecordPath(partPath), text.data(), text.size());
}

void RemovePartRecord(const std::string& partPath) {
  if (FileExists(RecordPath(partPath))) RemoveFile(RecordPath(partPath));
}
