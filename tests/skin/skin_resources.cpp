#include "tests/skin/skin_resources.h"

#include <windows.h>

std::vector<unsigned char> SkinResource(int number) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(number), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* bytes = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  if (!bytes) return {};
  return std::vector<unsigned char>(bytes, bytes + SizeofResource(nullptr, found));
}
