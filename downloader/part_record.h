#pragma once
// The side file beside a part file ("name.part.meta"): which file the bytes
// on hand belong to and which of them are complete, so that a later run can
// go on where an interrupted one stopped. It is read as untrusted input: a
// record that is damaged, too large or inconsistent is no record.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "downloader/byte_span.h"

struct PartRecord {
  std::int64_t size = 0;    // the whole file's size
  std::string validator;    // entity tag or date, sent as If-Range
  std::vector<ByteSpan> done;  // sorted, joined, within [0, size)
  bool operator==(const PartRecord&) const = default;
};

inline constexpr std::size_t kPartRecordMaxBytes = 16 << 10;
inline constexpr std::size_t kPartRecordMaxSpans = 256;
inline constexpr std::size_t kValidatorMaxBytes = 512;

std::string FormatPartRecord(const PartRecord& record);
std::optional<PartRecord> ParsePartRecord(const std::string& text);

// A validator the record can hold: a non-empty line of printable bytes.
bool IsRecordableValidator(const std::string& validator);

// The record beside `partPath`, read from disk; nothing when it is missing,
// unreadable, damaged, or when the part file can't hold the bytes it names.
std::optional<PartRecord> LoadPartRecord(const std::string& partPath);
bool SavePartRecord(const std::string& partPath, const PartRecord& record);
void RemovePartRecord(const std::string& partPath);
