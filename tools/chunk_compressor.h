#pragma once
// Compresses chunk data with the system's bzip2, gzip or xz, the formats
// 7-Zip unpacks from SPK files.
#include <string>

#include "tools/spk_writer.h"

enum class Codec { Stored, Bzip2, Gzip, Xz };

// Parses "stored", "bzip2", "gzip" or "xz".
bool ParseCodec(const std::string& name, Codec& codec);

// The compressed bytes; empty when the compressor failed. `scratchFolder`
// holds its temporary files.
Bytes Compress(Codec codec, const Bytes& data, const std::string& scratchFolder);
