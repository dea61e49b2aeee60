#include "downloader/ranged_answer.h"

#include <string_view>

namespace {
constexpr std::int64_t kMaxDigits = 18;  // below 2^63, so a number never overflows

// Reads digits at `pos` into `value`; false when there are none or too many.
bool ReadNumber(std::string_view text, std::size_t& pos, std::int64_t& value) {
  std::size_t start = pos;
  value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    if (static_cast<std::int64_t>(pos - start) == kMaxDigits) return false;
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos > start;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}
}  // namespace

std::optional<ContentRange> ParseContentRange(const std::string& text) {
  std::string_view view(text);
  constexpr std::string_view kUnit = "bytes ";
  if (view.substr(0, kUnit.size()) != kUnit) return std::nullopt;
  std::size_t pos = kUnit.size();
  ContentRange range;
  if (!ReadNumber(view, pos, range.first) || !Expect(view, pos, '-') || !ReadNumber(view, pos, range.last) ||
      !Expect(view, pos, '/') || !ReadNumber(view, pos, range.total) || pos != view.size())
    return std::nullopt;
  if (range.first > range.last || range.last >= range.total) return std::nullopt;
  return range;
}

AnswerVerdict JudgeAnswer(const ResponseHead& head, const AskedRange& asked, std::int64_t knownTotal) {
  const bool rangeAsked = asked.first >= 0;
  if (head.status == 200) return rangeAsked && asked.conditional ? AnswerVerdict::FileChanged : AnswerVerdict::WholeFile;
  if (head.status != 206) return AnswerVerdict::Refused;
  std::optional<ContentRange> range = ParseContentRange(head.contentRange);
  if (!rangeAsked || !range) return AnswerVerdict::RangeMismatch;
  if (knownTotal >= 0 && range->total != knownTotal) return AnswerVerdict::TotalChanged;
  const std::int64_t expectedLast = asked.last >= 0 ? asked.last : range->total - 1;
  if (range->first != asked.first || range->last != expectedLast) return AnswerVerdict::RangeMismatch;
  if (head.contentLength >= 0 && head.contentLength != range->last - range->first + 1)
    return AnswerVerdict::RangeMismatch;
  return AnswerVerdict::Ranged;
}

std::string ChooseValidator(const std::string& etag, const std::string& lastModified) {
  // A weak tag ("W/...") may stay the same while the bytes change.
  const bool strongTag = etag.size() >= 2 && etag.front() == '"' && etag.back() == '"';
  return strongTag ? etag : lastModified;
}
