#include "unpacker/output_place.h"

#include "common/gbk_text.h"

OutputPlace DeriveOutputPlace(const std::string& spkPath, char separator) {
  std::size_t last = gbk::FindLastChar(spkPath, separator);
  // A path without a separator names a file in the current folder.
  std::size_t nameStart = last == gbk::npos ? 0 : last + 1;
  OutputPlace place;
  place.directory = spkPath.substr(0, nameStart);
  std::size_t nameLength = spkPath.size() - nameStart;
  if (nameLength > 4) place.name = spkPath.substr(nameStart, nameLength - 4);
  return place;
}
