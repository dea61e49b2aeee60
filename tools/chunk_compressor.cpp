#include "tools/chunk_compressor.h"

#include "platform/files.h"
#include "platform/posix/process_spawn.h"

bool ParseCodec(const std::string& name, Codec& codec) {
  if (name == "stored") codec = Codec::Stored;
  else if (name == "bzip2") codec = Codec::Bzip2;
  else if (name == "gzip") codec = Codec::Gzip;
  else if (name == "xz") codec = Codec::Xz;
  else return false;
  return true;
}

Bytes Compress(Codec codec, const Bytes& data, const std::string& scratchFolder) {
  if (codec == Codec::Stored) return data;
  const char* program = codec == Codec::Bzip2 ? "bzip2" : codec == Codec::Gzip ? "gzip" : "xz";
  const std::string input = scratchFolder + "/chunk.raw";
  const std::string output = scratchFolder + "/chunk.packed";
  WriteWholeFile(input, data.data(), data.size());
  int status = SpawnAndWait({FindInPath(program), "-c", input}, "", output);
  Bytes packed = status == 0 ? ReadWholeFile(output) : Bytes{};
  RemoveFile(input);
  RemoveFile(output);
  return packed;
}
