#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>

#include "downloader/region_list.h"
#include "tests/downloader/region_list_builder.h"

void PrintTo(const ArchiveNames& names, std::ostream* out) {
  *out << "SoundPacks " << testing::PrintToString(names.SoundPackNames) << ", ImagePacks2 "
       << testing::PrintToString(names.ImagePackNames) << ", Music " << testing::PrintToString(names.MusicNames);
}

namespace {
using Names = std::vector<std::string>;

ArchiveNames Read(const Bytes& file) { return ReadRegionList(file); }

std::string Text(const RegionListBuilder& builder) {
  return std::string(builder.Contents().begin(), builder.Contents().end());
}

struct ReadingCase {
  const char* what;
  RegionListBuilder file;
  ArchiveNames expected;
};

TEST(RegionList, ReadsEachFolderFromItsFirstMarker) {
  const ArchiveNames usual{{"s1.NPK", "s2.NPK"}, {"sprite_a.NPK"}, {"bgm.ogg"}};
  const std::string gbkName = "\xb5\xd8\xcf\xc2\xb3\xc7.NPK";  // 地下城.NPK
  const ReadingCase cases[] = {
      {"the usual order",
       RegionListBuilder()
           .Block("SoundPacks", {"s1.NPK", "s2.NPK"})
           .Block("ImagePacks2", {"sprite_a.NPK"})
           .Block("Music", {"bgm.ogg"}),
       usual},
      {"the blocks in reverse order with bytes around and between them",
       RegionListBuilder()
           .Junk(std::string("head\0\xff\xfe", 7))
           .Block("Music", {"bgm.ogg"})
           .Junk(std::string("\0\0\0", 3))
           .Block("ImagePacks2", {"sprite_a.NPK"})
           .Junk("between")
           .Block("SoundPacks", {"s1.NPK", "s2.NPK"})
           .Junk("tail"),
       usual},
      {"a marker is the folder's name with its zero byte",
       RegionListBuilder().Junk("SoundPacks2 ImagePacks Music!").Block("SoundPacks", {"real"}),
       {{"real"}, {}, {}}},
      {"a marker inside an earlier name counts",
       RegionListBuilder()
           .Block("SoundPacks", {Text(RegionListBuilder().Junk("bgm_").Block("Music", {"inner"}))})
           .Block("Music", {"outer"}),
       {{"bgm_Music"}, {}, {"inner"}}},
      {"a marker in the bytes before the real block counts",
       RegionListBuilder()
           .Junk("x")
           .Marker("ImagePacks2")
           .Int32(1)
           .Entry("early.NPK")
           .Block("ImagePacks2", {"late.NPK"}),
       {{}, {"early.NPK"}, {}}},
      {"names stay as read: duplicates, empty names, double-byte text",
       RegionListBuilder().Block("Music", {"a", "", "a", gbkName, " b "}),
       {{}, {}, {"a", "", "a", gbkName, " b "}}},
      {"a name ends at its first zero byte and the whole field is consumed",
       RegionListBuilder()
           .Marker("SoundPacks")
           .Int32(4)
           .Entry(std::string("abcdefg\0", 8))
           .Entry("abcdefgh")
           .Entry(std::string("ab\0cd", 5))
           .Entry(std::string("\0z", 2)),
       {{"abcdefg", "abcdefgh", "ab", ""}, {}, {}}},
      {"a length of zero or less gives the empty name and still skips the unread bytes",
       RegionListBuilder()
           .Marker("ImagePacks2")
           .Int32(4)
           .Entry(0, "")
           .Entry(-1, "")
           .Entry(std::numeric_limits<std::int32_t>::min(), "")
           .Entry("z.NPK"),
       {{}, {"", "", "", "z.NPK"}, {}}},
      {"a folder the file does not name has no archives",
       RegionListBuilder().Junk(std::string(16, '\x01')).Block("ImagePacks2", {"only"}),
       {{}, {"only"}, {}}},
      {"a count of zero or less reads no entries",
       RegionListBuilder()
           .Marker("SoundPacks").Int32(0).Entry("not.NPK")
           .Marker("Music").Int32(-3).Entry("not.ogg"),
       {}},
      {"a count beyond the file stops at its end",
       RegionListBuilder().Marker("ImagePacks2").Int32(std::numeric_limits<std::int32_t>::max()).Entry("a").Entry("b"),
       {{}, {"a", "b"}, {}}},
      {"a name cut off by the end keeps the bytes that are there, whatever its length says",
       RegionListBuilder().Marker("Music").Int32(3).Entry("a").Int32(std::numeric_limits<std::int32_t>::max()).Junk("abc"),
       {{}, {}, {"a", "abc"}}},
      {"a length field cut short is read with zero high bytes and gives the empty name",
       RegionListBuilder().Marker("SoundPacks").Int32(5).Entry("a").Junk("\x02"),
       {{"a", ""}, {}, {}}},
      {"a count cut short by the end gives no entries",
       RegionListBuilder().Junk("Music").Junk(std::string("\0\x01", 2)),
       {}},
  };
  for (const ReadingCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Read(c.file.Contents()), c.expected);
  }
}

// A file cut at any byte gives, for every folder, the entries that start
// before the cut, the last of them with the part of its name that is there.
TEST(RegionList, AFileCutAnywhereGivesTheEntriesBeforeTheCut) {
  struct Block {
    std::string folder;
    Names names;
    std::size_t countAt = 0;
    std::vector<std::size_t> entriesAt = {};
  };
  std::vector<Block> blocks = {
      {"Music", {"m.ogg", "", "\xd2\xf4\xc0\xd6.ogg"}},
      {"SoundPacks", {"sounds_a.NPK"}},
      {"ImagePacks2", {"sprite_interface.NPK", "sprite_map.NPK"}},
  };
  RegionListBuilder builder;
  builder.Junk("head");
  for (Block& block : blocks) {
    builder.Marker(block.folder);
    block.countAt = builder.Contents().size();
    builder.Int32(static_cast<std::int32_t>(block.names.size()));
    for (const std::string& name : block.names) {
      block.entriesAt.push_back(builder.Contents().size());
      builder.Entry(name);
    }
    builder.Junk("gap");
  }
  const Bytes& whole = builder.Contents();

  for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
    SCOPED_TRACE(cut);
    const ArchiveNames got = Read(Bytes(whole.begin(), whole.begin() + cut));
    for (const Block& block : blocks) {
      Names expected;
      for (std::size_t i = 0; i < block.names.size() && cut > block.countAt && block.entriesAt[i] < cut; ++i) {
        const std::size_t nameAt = block.entriesAt[i] + 4;
        expected.push_back(block.names[i].substr(0, cut > nameAt ? cut - nameAt : 0));
      }
      EXPECT_EQ(*FolderNames(got, block.folder), expected) << block.folder;
    }
  }
}

TEST(RegionList, TheFolderTextChoosesItsList) {
  const ArchiveNames names{{"sound"}, {"image"}, {"music"}};
  EXPECT_EQ(FolderNames(names, "SoundPacks"), &names.SoundPackNames);
  EXPECT_EQ(FolderNames(names, "ImagePacks2"), &names.ImagePackNames);
  EXPECT_EQ(FolderNames(names, "Music"), &names.MusicNames);
  const std::string_view others[] = {"", "music", "SOUNDPACKS", "ImagePacks", "Music ", std::string_view("Music\0", 6)};
  for (std::string_view other : others) {
    SCOPED_TRACE(other);
    EXPECT_EQ(FolderNames(names, other), nullptr);
  }
}

}  // namespace
