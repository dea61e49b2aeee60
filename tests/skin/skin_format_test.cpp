// The skin reader against the skins the build draws up, against skins put
// together byte by byte, and against every way a skin can come damaged.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "skin/skin_format.h"

namespace {
using Bytes = std::vector<unsigned char>;

Bytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

Bytes BuiltSkin(int number) {
  char name[32];
  snprintf(name, sizeof name, "/skin_%02d.skn", number);
  return ReadFile(std::string(SKIN_FOLDER) + name);
}

// A skin put together field by field; each colour is (part, part + 1, part + 2).
struct SkinFields {
  Bytes magic{'P', 'S', 'K', 'N'};
  unsigned version = 1;
  int sizeAdjustment = 0;  // added to the true size in the size field
  unsigned char radius = 6, flags = 1, colourCount = kSkinPartCount;
  std::string name = "Test";
  int nameLengthAdjustment = 0;
};

Bytes Assemble(const SkinFields& fields) {
  Bytes bytes = fields.magic;
  const int colourBytes = 3 * fields.colourCount;
  const unsigned size = static_cast<unsigned>(12 + colourBytes + fields.name.size() + fields.sizeAdjustment);
  const auto nameLength = static_cast<unsigned char>(fields.name.size() + fields.nameLengthAdjustment);
  bytes.insert(bytes.end(), {static_cast<unsigned char>(fields.version), static_cast<unsigned char>(fields.version >> 8),
                             static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8), fields.radius,
                             fields.flags, fields.colourCount, nameLength});
  for (int at = 0; at < colourBytes; ++at) bytes.push_back(static_cast<unsigned char>(at / 3 + at % 3));
  bytes.insert(bytes.end(), fields.name.begin(), fields.name.end());
  return bytes;
}

TEST(SkinFormat, ReadsEveryFieldIntoItsPlace) {
  std::optional<Skin> skin = ReadSkin(Assemble({}));
  ASSERT_TRUE(skin);
  for (int part = 0; part < kSkinPartCount; ++part) {
    const SkinColour expected{static_cast<std::uint8_t>(part), static_cast<std::uint8_t>(part + 1),
                              static_cast<std::uint8_t>(part + 2)};
    EXPECT_EQ(skin->colours[part], expected) << "part " << part;
  }
  EXPECT_EQ(skin->cornerRadius, 6);
  EXPECT_TRUE(skin->gradient);
  EXPECT_EQ(skin->name, "Test");

  SkinFields flat;
  flat.flags = 0;
  flat.radius = 0;
  flat.name = "平";  // names are UTF-8
  skin = ReadSkin(Assemble(flat));
  ASSERT_TRUE(skin);
  EXPECT_FALSE(skin->gradient);
  EXPECT_EQ(skin->cornerRadius, 0);
  EXPECT_EQ(skin->name, "平");
}

TEST(SkinFormat, RefusesDamagedSkins) {
  struct Case {
    const char* what;
    SkinFields fields;
  };
  std::vector<Case> cases;
  auto add = [&cases](const char* what, auto change) {
    SkinFields fields;
    change(fields);
    cases.push_back({what, fields});
  };
  add("wrong magic", [](SkinFields& f) { f.magic[3] = 'X'; });
  add("a later version", [](SkinFields& f) { f.version = 2; });
  add("size field too large", [](SkinFields& f) { f.sizeAdjustment = 1; });
  add("size field too small", [](SkinFields& f) { f.sizeAdjustment = -1; });
  add("radius beyond the largest", [](SkinFields& f) { f.radius = 17; });
  add("an unknown flag", [](SkinFields& f) { f.flags = 3; });
  add("too few colours", [](SkinFields& f) { f.colourCount = kSkinPartCount - 1; });
  add("too many colours", [](SkinFields& f) { f.colourCount = kSkinPartCount + 1; });
  add("no name", [](SkinFields& f) { f.name.clear(); });
  add("a name too long", [](SkinFields& f) { f.name.assign(65, 'n'); });
  add("a name with a line break", [](SkinFields& f) { f.name = "Two\nLines"; });
  add("name length beyond the end", [](SkinFields& f) { f.nameLengthAdjustment = 1; });
  add("name length short of the end", [](SkinFields& f) { f.nameLengthAdjustment = -1; });
  for (const Case& c : cases) EXPECT_FALSE(ReadSkin(Assemble(c.fields))) << c.what;

  SkinFields longest;
  longest.name.assign(64, 'n');
  longest.radius = 16;
  EXPECT_TRUE(ReadSkin(Assemble(longest))) << "the limits themselves are allowed";
}

TEST(SkinFormat, RefusesASkinCutAnywhereOrLengthened) {
  const Bytes whole = BuiltSkin(9);
  ASSERT_TRUE(ReadSkin(whole));
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_FALSE(ReadSkin({whole.data(), size})) << "cut to " << size << " bytes";
  Bytes longer = whole;
  longer.push_back('x');
  EXPECT_FALSE(ReadSkin(longer));
}

TEST(SkinFormat, TheBuildDrawsUpThirtyThreeDistinctSkins) {
  std::set<std::string> names;
  std::set<std::vector<int>> looks;
  for (int number = 1; number <= 33; ++number) {
    std::optional<Skin> skin = ReadSkin(BuiltSkin(number));
    ASSERT_TRUE(skin) << "skin " << number;
    names.insert(skin->name);
    const SkinColour window = (*skin)[SkinPart::WindowBackground], button = (*skin)[SkinPart::ButtonFace];
    looks.insert({window.red, window.green, window.blue, button.red, button.green, button.blue});
    // Programs draw white shadows and their own coloured text on these.
    const SkinColour white{255, 255, 255};
    EXPECT_NE(window, white) << "skin " << number;
    EXPECT_NE((*skin)[SkinPart::TabSelected], white) << "skin " << number;
  }
  EXPECT_EQ(names.size(), 33u);
  EXPECT_EQ(looks.size(), 33u);
}
}  // namespace
