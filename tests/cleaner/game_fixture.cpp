#include "tests/cleaner/game_fixture.h"

#include "platform/files.h"
#include "platform/hasher.h"

void AppendInt32(Bytes& bytes, std::int32_t value) {
  std::uint32_t v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

void AppendText(Bytes& bytes, const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }

Bytes PackageListHeader() {
  Bytes bytes(32, 0xEE);
  AppendText(bytes, std::string("LST\0", 4));
  AppendInt32(bytes, 7);
  return bytes;
}

Bytes PackageList(const std::vector<ListedFolder>& folders) {
  Bytes bytes = PackageListHeader();
  for (const ListedFolder& folder : folders) {
    AppendInt32(bytes, static_cast<std::int32_t>(folder.name.size()));
    AppendText(bytes, folder.name);
    AppendInt32(bytes, static_cast<std::int32_t>(folder.files.size()));
    for (const ListedFile& file : folder.files) {
      AppendInt32(bytes, static_cast<std::int32_t>(file.name.size()));
      AppendText(bytes, file.name);
      AppendInt32(bytes, file.size);
      AppendInt32(bytes, 0x12345678);
      AppendInt32(bytes, static_cast<std::int32_t>(file.digest.size()));
      bytes.insert(bytes.end(), file.digest.begin(), file.digest.end());
    }
    AppendInt32(bytes, 0);
  }
  // Real lists end with more than the last folder record; keep a tail that
  // is too short to be read as another one.
  bytes.resize(bytes.size() + 8, 0);
  return bytes;
}

Bytes Content(std::size_t size, int seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 131 + seed * 17) ^ (i >> 11));
  return bytes;
}

Bytes Sha256(const Bytes& bytes) {
  Hasher hasher(HashAlgorithm::Sha256);
  hasher.Update(bytes.data(), bytes.size());
  return hasher.Finish();
}

GameFixture::GameFixture() {
  CreateFolder(Directory());
  CreateFolder(FolderPath("ImagePacks2"));
  CreateFolder(FolderPath("SoundPacks"));
}

std::string GameFixture::FolderPath(const std::string& folder) const { return JoinPath(Directory(), folder); }

ListedFile GameFixture::AddFile(const std::string& folder, const std::string& name, const Bytes& content) {
  WriteWholeFile(JoinPath(FolderPath(folder), name), content.data(), content.size());
  return {name, static_cast<std::int32_t>(content.size()), Sha256(content)};
}

void GameFixture::WriteList(const std::vector<ListedFolder>& folders) {
  Bytes list = PackageList(folders);
  WriteWholeFile(JoinPath(Directory(), "package.lst"), list.data(), list.size());
}

bool GameFixture::Has(const std::string& folder, const std::string& name) const {
  return FileExists(JoinPath(FolderPath(folder), name));
}
