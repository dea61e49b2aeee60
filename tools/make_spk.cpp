// make-spk: builds an SPK update file from a content file.
//
//   make-spk [--chunk-size N] [--codec stored|bzip2|gzip|xz] [--bad-digest]
//            [--path TEXT] CONTENT OUT.spk
//
// The content is cut into chunks of N bytes (1 MiB by default), each stored
// or compressed. --bad-digest stores a digest that differs in its last byte.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/chunk_compressor.h"
#include "platform/files.h"
#include "platform/hasher.h"
#include "tools/spk_writer.h"

namespace {
struct Options {
  std::size_t chunkSize = 1 << 20;
  Codec codec = Codec::Stored;
  bool badDigest = false;
  std::string defaultPath = "ImagePacks2\\sample.NPK";
  std::string content, output;
};

int Usage() {
  std::fprintf(stderr, "usage: make-spk [--chunk-size N] [--codec stored|bzip2|gzip|xz] [--bad-digest] "
                       "[--path TEXT] CONTENT OUT.spk\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--chunk-size" && hasValue) options.chunkSize = std::strtoull(argv[++i], nullptr, 10);
    else if (arg == "--codec" && hasValue) { if (!ParseCodec(argv[++i], options.codec)) return false; }
    else if (arg == "--path" && hasValue) options.defaultPath = argv[++i];
    else if (arg == "--bad-digest") options.badDigest = true;
    else if (!arg.starts_with("--")) files.push_back(arg);
    else return false;
  }
  if (files.size() != 2 || options.chunkSize == 0) return false;
  options.content = files[0];
  options.output = files[1];
  return true;
}

// One pass for the digest and size, so the content never sits in memory whole.
bool MeasureContent(const std::string& path, Bytes& digest, std::int64_t& size) {
  File file = File::Open(path, File::Mode::ReadShared);
  if (!file.IsOpen()) return false;
  Hasher hasher(HashAlgorithm::Sha256);
  Bytes piece(kFilePieceSize);
  size = 0;
  while (std::size_t got = file.Read(piece.data(), piece.size())) {
    hasher.Update(piece.data(), got);
    size += static_cast<std::int64_t>(got);
  }
  digest = hasher.Finish();
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  Bytes digest;
  std::int64_t size = 0;
  if (!MeasureContent(options.content, digest, size)) {
    std::fprintf(stderr, "make-spk: cannot read %s\n", options.content.c_str());
    return 1;
  }
  if (options.badDigest) digest.back() ^= 0x01;
  const auto chunkCount = static_cast<std::int32_t>((size + options.chunkSize - 1) / options.chunkSize);

  File out = File::Open(options.output, File::Mode::CreateOrEmpty);
  File in = File::Open(options.content, File::Mode::ReadShared);
  const std::string scratch = options.output + ".scratch";
  CreateFolder(scratch);
  const Bytes header = SpkHeaderBytes(options.defaultPath, static_cast<std::int32_t>(size), digest, chunkCount, chunkCount);
  bool ok = out.Write(header.data(), header.size());
  Bytes chunk(options.chunkSize);
  while (ok) {
    chunk.resize(options.chunkSize);
    chunk.resize(in.Read(chunk.data(), chunk.size()));
    if (chunk.empty()) break;
    Bytes data = Compress(options.codec, chunk, scratch);
    if (data.empty()) ok = false;
    Bytes record = SpkChunkRecordStart(options.codec == Codec::Stored ? kStoredChunk : kCompressedChunk,
                                       static_cast<std::int32_t>(data.size()));
    ok = ok && out.Write(record.data(), record.size()) && out.Write(data.data(), data.size());
  }
  RemoveFolderWithFiles(scratch);
  if (!ok) {
    std::fprintf(stderr, "make-spk: writing %s failed\n", options.output.c_str());
    return 1;
  }
  return 0;
}
