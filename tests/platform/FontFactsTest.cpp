// The fonts an earlier start learnt from fontconfig: the file's text read back whole or not at
// all, facts that stop holding once anything fontconfig read has changed, and what a start
// writes for the next one.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/draw/Font.h"
#include "platform/draw/FontFacts.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

FaceMatch Face(const char* file, const char* family, bool bold, bool italic, bool mono) {
  FaceMatch f;
  f.file = file;
  f.family = family;
  f.index = bold ? 1 : 0;
  f.bold = bold;
  f.italic = italic;
  f.monospace = mono;
  return f;
}

FontFacts Sample() {
  FontFacts facts;
  facts.setting = "fontconfig 21401 HOME=/home/u LANG";
  facts.stamps = {{"/etc/fonts/fonts.conf", 2940, 627, 1750775815000000000, 1750775815000000001},
                  {"/home/u/.fonts.conf", -1, 0, 0, 0}};
  facts.families = {"DejaVu Sans", "Nimbus Mono PS", "\xC0\xF0\xE8\xE0\xEB"};  // cp1251 too
  facts.faces["400 roman any MS Sans Serif"] = {
      Face("/usr/share/fonts/a b/Sans.ttf", "DejaVu Sans", false, false, false),
      Face("/usr/share/fonts/Sans-Bold.ttf", "DejaVu Sans", true, false, false)};
  facts.faces["400 roman fixed Courier New"] = {
      Face("/usr/share/fonts/Mono.otf", "Nimbus Mono PS", false, true, true)};
  facts.faces["700 italic any Nothing"] = {};  // fontconfig had nothing to offer
  return facts;
}

TEST(FontFacts, TheTextReadsBackAsWritten) {
  const FontFacts facts = Sample();
  const std::string text = WriteFontFacts(facts);
  ASSERT_FALSE(text.empty());
  const std::optional<FontFacts> read = ReadFontFacts(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, facts);
}

// A file cut short by a crash, or spoilt any other way, is no facts at all: the start then asks
// fontconfig, as if there were no file.
TEST(FontFacts, ADamagedTextIsNoFacts) {
  const std::string text = WriteFontFacts(Sample());
  for (size_t cut = 0; cut < text.size(); ++cut)
    EXPECT_FALSE(ReadFontFacts(text.substr(0, cut))) << "cut at " << cut;

  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string spoilt = text;
    const size_t at = spoilt.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return spoilt.replace(at, from.size(), to);
  };
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"another first line", replaced("qxworks fonts 1", "qxworks fonts 2")},
      {"a number that is none", replaced("\t2940\t", "\t29x0\t")},
      {"a flag that is neither", replaced("\t0\t1\t1\n", "\t0\t2\t1\n")},
      {"a field too few", replaced("\tDejaVu Sans\t0\t0\t0\n", "\tDejaVu Sans\t0\t0\n")},
      {"an unknown line", replaced("family\tDejaVu Sans\n", "colour\tred\n")},
      {"a face with no file", replaced("/usr/share/fonts/Mono.otf", "")},
      {"a second setting", replaced("family\tDejaVu Sans\n", "setting\tx\nfamily\tDejaVu Sans\n")},
      {"a line after the end", text + "family\tLate\n"},
      {"a record both with and without faces",
       replaced("face\t400 roman fixed",
                "none\t400 roman fixed Courier New\nface\t400 roman fixed")},
      {"no end", replaced("end\n", "")},
      {"nothing", ""},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadFontFacts(c.text)) << c.what;
}

TEST(FontFacts, TextThatCannotBeWrittenWritesNoFile) {
  for (const char* bad : {"a\tb", "a\nb"}) {
    FontFacts facts = Sample();
    facts.families.push_back(bad);
    EXPECT_EQ(WriteFontFacts(facts), "");
    facts = Sample();
    facts.stamps.push_back({bad, -1, 0, 0, 0});
    EXPECT_EQ(WriteFontFacts(facts), "");
  }
}

// A font installed, a setting edited, a configuration file added where none was: each changes a
// file or folder the facts were stamped with, and the facts no longer hold.
TEST(FontFacts, FactsHoldOnlyWhileNothingTheyRestOnHasChanged) {
  const fs::path dir = fs::path(std::getenv("XDG_CACHE_HOME")) / "stamped";
  fs::create_directories(dir);
  const fs::path conf = dir / "fonts.conf";
  const fs::path user = dir / "user.conf";
  std::ofstream(conf) << "<fontconfig/>";
  FontFacts facts;
  facts.setting = "fontconfig 1 HOME=/home/u";
  facts.stamps = {StampOf(dir.string()), StampOf(conf.string()), StampOf(user.string())};
  ASSERT_EQ(facts.stamps[2].size, -1) << "stamped while absent";
  ASSERT_TRUE(FontFactsHold(facts, facts.setting));
  EXPECT_FALSE(FontFactsHold(facts, "fontconfig 1 HOME=/home/v")) << "another environment";

  const struct {
    const char* what;
    void (*change)(const fs::path& dir);
  } cases[] = {
      {"a file rewritten", [](const fs::path& d) { std::ofstream(d / "fonts.conf") << "<x/>"; }},
      {"an absent file made", [](const fs::path& d) { std::ofstream(d / "user.conf") << ""; }},
      {"a file added to the folder", [](const fs::path& d) { std::ofstream(d / "font.ttf"); }},
      {"a file replaced whole",
       [](const fs::path& d) {
         std::ofstream(d / "new.conf") << "<fontconfig/>";
         fs::rename(d / "new.conf", d / "fonts.conf");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(conf) << "<fontconfig/>";
    fs::remove(user);
    fs::remove(dir / "font.ttf");
    facts.stamps = {StampOf(dir.string()), StampOf(conf.string()), StampOf(user.string())};
    ASSERT_TRUE(FontFactsHold(facts, facts.setting));
    usleep(20000);  // a change time the file system can tell apart
    c.change(dir);
    EXPECT_FALSE(FontFactsHold(facts, facts.setting));
  }
  fs::remove_all(dir);
}

// What this run asked of fontconfig is written for the next start of the same program: the very
// faces and families it gave, with stamps that hold as long as nothing changes.
TEST(FontFacts, AStartWritesWhatItLearntForTheNext) {
  LogicalFont request;
  request.height = 13;
  request.face = "MS Sans Serif";
  const std::optional<FaceMatch> face = MatchFace(request);
  ASSERT_TRUE(face);
  const std::vector<std::string> families = FontFamilies();

  const fs::path file = fs::path(std::getenv("XDG_CACHE_HOME")) / "qxworks" /
                        (std::string("fonts-") + program_invocation_short_name);
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << file;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::optional<FontFacts> facts = ReadFontFacts(text);
  ASSERT_TRUE(facts);
  EXPECT_TRUE(FontFactsHold(*facts, facts->setting));
  EXPECT_EQ(facts->families, families);
  const auto known = facts->faces.find(FaceKey(request));
  ASSERT_NE(known, facts->faces.end());
  ASSERT_FALSE(known->second.empty());
  EXPECT_EQ(known->second.front().file, face->file);
  EXPECT_EQ(known->second.front().family, face->family);
  EXPECT_NE(facts->setting.find("XDG_CACHE_HOME="), std::string::npos)
      << "the environment fontconfig reads is part of the facts";
}

}  // namespace
}  // namespace platform
