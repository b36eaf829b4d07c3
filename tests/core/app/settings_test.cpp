#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "app/program_folder.h"
#include "app/start_up.h"
#include "model/message_sink.h"
#include "temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// The tags of a settings text line by line; every line must end in CR LF and
// hold exactly one element between <Tarnini> and </Tarnini>.
std::vector<std::string> TagsOf(const std::string& text) {
  std::vector<std::string> tags;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "line without CR LF at " << at;
    if (end == std::string::npos) break;
    std::string line = text.substr(at, end - at);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    std::string tag = line.substr(1, line.find('>') - 1);
    if (tag != "Tarnini" && tag != "/Tarnini") {
      EXPECT_EQ(line.substr(line.size() - tag.size() - 3), "</" + tag + ">");
    }
    tags.push_back(tag);
    at = end + 2;
  }
  return tags;
}

Settings Sample() {
  Settings s;
  s.maxy = 5;
  s.miny = 12.5f;
  s.nsel = 250;
  s.shortnames = 0;
  s.screensize = 6;
  s.clipwidth = "9,5";
  s.readdir = "/home/ann/my projects";
  s.writedir = "/home/ann/data";
  s.recent(1) = "/home/ann/data/Cu gly.cld";
  s.recent(2) = "/home/ann/data/b.cld";
  s.recent(25) = "/last.cld";
  return s;
}

TEST(SettingsFile, WritesEverySettingInItsOrderAndReadsItBack) {
  Settings s = Sample();
  std::string text = SettingsText(s);
  std::vector<std::string> expected{"Tarnini",   "maxy",       "miny",       "nsel",    "shortnames", "screensize",
                                    "clipwidth", "clipheight", "lettersize", "readdir", "writedir"};
  for (int i = 1; i <= kRecentCount; ++i) expected.push_back("recent" + std::to_string(i));
  expected.push_back("/Tarnini");
  EXPECT_EQ(TagsOf(text), expected);
  EXPECT_NE(text.find("<miny>12.5</miny>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<recent3></recent3>\r\n"), std::string::npos);

  Settings back = ReadSettingsText(text, Settings{});
  EXPECT_EQ(SettingsText(back), text);
  EXPECT_EQ(back.nsel, 250);
  EXPECT_EQ(back.readdir, s.readdir);
  EXPECT_EQ(back.recent(25), "/last.cld");
}

TEST(SettingsFile, FirstRunFileHasItsOwnOrderAndOneRecentEntryPerSample) {
  std::vector<std::string> samples;
  for (int i = 0; i < 30; ++i) samples.push_back("/t/samples/s" + std::to_string(100 + i) + ".cld");
  Settings s = FirstRunSettings("/t", samples);
  std::vector<std::string> expected{"Tarnini",    "maxy",       "miny",       "nsel",    "shortnames", "clipwidth",
                                    "clipheight", "lettersize", "screensize", "readdir", "writedir"};
  for (int i = 1; i <= kRecentCount; ++i) expected.push_back("recent" + std::to_string(i));
  expected.push_back("/Tarnini");
  std::string text = FirstRunSettingsText(s);
  EXPECT_EQ(TagsOf(text), expected);
  EXPECT_NE(text.find("<maxy>3</maxy>\r\n<miny>13</miny>\r\n<nsel>3</nsel>\r\n<shortnames>1</shortnames>\r\n"
                      "<clipwidth>8.25</clipwidth>\r\n<clipheight>6.6</clipheight>\r\n<lettersize>24</lettersize>\r\n"
                      "<screensize>1</screensize>\r\n<readdir>/t/samples</readdir>\r\n<writedir>/t/data1</writedir>\r\n"
                      "<recent1>/t/samples/s100.cld</recent1>\r\n"),
            std::string::npos);

  Settings two = FirstRunSettings("/t", {"/t/samples/a.cld", "/t/samples/b.cld"});
  std::vector<std::string> tags = TagsOf(FirstRunSettingsText(two));
  EXPECT_EQ(tags.size(), 11u + 2u + 1u);
  EXPECT_EQ(tags[tags.size() - 2], "recent2");
}

TEST(SettingsFile, DamagedFileReadsWithDefaults) {
  Settings defaults = FirstRunSettings("/t", {});
  // Unreadable numbers, values out of range, a missing element and a file cut short.
  std::string damaged =
      "<Tarnini>\r\n<maxy>abc</maxy>\r\n<miny>99</miny>\r\n<nsel>-4</nsel>\r\n<shortnames>7</shortnames>\r\n"
      "<screensize>1e400</screensize>\r\n<clipwidth></clipwidth>\r\n<readdir>  /x/y  </readdir>\r\n"
      "<recent1>/a.cld</recent1>\r\n<recent2>/b.cl";
  Settings s = ReadSettingsText(damaged, defaults);
  EXPECT_EQ(s.maxy, defaults.maxy);
  EXPECT_EQ(s.miny, defaults.miny);
  EXPECT_EQ(s.nsel, defaults.nsel);
  EXPECT_EQ(s.shortnames, defaults.shortnames);
  EXPECT_EQ(s.screensize, defaults.screensize);
  EXPECT_EQ(s.clipwidth, defaults.clipwidth);
  EXPECT_EQ(s.writedir, "/t/data1");
  EXPECT_EQ(s.readdir, "/x/y");
  EXPECT_EQ(s.recent(1), "/a.cld");
  EXPECT_EQ(s.recent(2), "");

  // Readable values are taken as the reading rules say: leading numeric part,
  // either decimal separator.
  Settings t = ReadSettingsText("<nsel>5x</nsel><maxy>4,0</maxy><miny>.5e1</miny><shortnames>0</shortnames>", defaults);
  EXPECT_EQ(t.nsel, 5);
  EXPECT_EQ(t.maxy, 4.0f);
  EXPECT_EQ(t.miny, 5.0f);
  EXPECT_EQ(t.shortnames, 0);

  for (const std::string& junk : {std::string(), std::string("<Tarnini>"), std::string("</nsel><nsel>"),
                                  std::string("<<<>>>"), std::string("\0\xff", 2)})
    EXPECT_EQ(SettingsText(ReadSettingsText(junk, defaults)), SettingsText(defaults));
}

TEST(SettingsFile, FailedWriteLeavesTheOldFileIntact) {
  TempFolder dir;
  std::string ini = dir / "Tarn.ini";
  RecordingSink sink;
  ASSERT_TRUE(WriteSettings(Sample(), ini, sink));
  std::string before = ReadFile(ini);
  // The temporary file beside it cannot be made: a folder has its name.
  std::filesystem::create_directory(ini + ".saving~");
  Settings changed = Sample();
  changed.nsel = 4;
  EXPECT_FALSE(WriteSettings(changed, ini, sink));
  EXPECT_EQ(ReadFile(ini), before);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], "can't save " + ini);
}

TEST(StartUp, FirstStartCreatesSettingsAndStoreWithTheSamples) {
  TempFolder source, home;
  WriteFile(source / "samples/b.cld", "<calvor>\r\n</calvor>\r\n");
  WriteFile(source / "samples/a.trn", "old\n");
  WriteFile(source / "help/index.htm", "<html></html>\n");
  ASSERT_TRUE(PrepareProgramFolder(home.Path(), source.Path()));
  RecordingSink sink;
  Settings s = LoadSettingsAtStart(home.Path(), sink);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(s.recent(1), home / "samples/a.trn");
  EXPECT_EQ(s.recent(2), home / "samples/b.cld");
  EXPECT_EQ(s.recent(3), "");
  EXPECT_EQ(s.writedir, home / "data1");
  EXPECT_TRUE(std::filesystem::is_directory(home / "data1"));
  EXPECT_EQ(ReadFile(home / "help/index.htm"), "<html></html>\n");
  EXPECT_EQ(ReadFile(home / "store.fil"),
            "*" + (home / "samples/a.trn") + "\r\nold\n*" + (home / "samples/b.cld") + "\r\n<calvor>\r\n</calvor>\r\n");

  // A later start reads what is there: a removed sample drops out of the
  // list, a damaged settings file reads with defaults, the store is kept.
  std::filesystem::remove(home / "samples/a.trn");
  std::string ini = ReadFile(home / "Tarn.ini");
  ini.replace(ini.find("<nsel>3"), 7, "<nsel>zz");
  ini.erase(ini.find("<writedir>"), ini.find("<recent1>") - ini.find("<writedir>"));
  WriteFile(home / "Tarn.ini", ini.substr(0, ini.find("</Tarnini>")));
  std::string store = ReadFile(home / "store.fil");
  Settings again = LoadSettingsAtStart(home.Path(), sink);
  EXPECT_EQ(again.recent(1), home / "samples/b.cld");
  EXPECT_EQ(again.recent(2), "");
  EXPECT_EQ(again.nsel, 3);
  EXPECT_EQ(again.writedir, home / "data1");
  EXPECT_EQ(ReadFile(home / "store.fil"), store);
}

TEST(StartUp, NoSamplesFolderGivesAnEmptyStoreAndNoRecentEntries) {
  TempFolder home;
  RecordingSink sink;
  Settings s = LoadSettingsAtStart(home.Path(), sink);
  EXPECT_EQ(ReadFile(home / "store.fil"), "");
  EXPECT_EQ(s.recent(1), "");
  EXPECT_EQ(ReadFile(home / "Tarn.ini").find("<recent"), std::string::npos);
}

}  // namespace
}  // namespace tarn
