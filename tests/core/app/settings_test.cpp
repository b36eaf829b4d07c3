#include "core/app/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/app/program_folder.h"
#include "core/app/start_up.h"
#include "core/model/message_sink.h"
#include "core/model/save_file.h"
#include "support/temp_folder.h"

namespace tarn {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

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
  std::string expected =
      "<Tarnini>\r\n<maxy>5</maxy>\r\n<miny>12.5</miny>\r\n<nsel>250</nsel>\r\n<shortnames>0</shortnames>\r\n"
      "<screensize>6</screensize>\r\n<clipwidth>9,5</clipwidth>\r\n<clipheight>6.6</clipheight>\r\n"
      "<lettersize>24</lettersize>\r\n<readdir>/home/ann/my "
      "projects</readdir>\r\n<writedir>/home/ann/data</writedir>\r\n"
      "<recent1>/home/ann/data/Cu gly.cld</recent1>\r\n<recent2>/home/ann/data/b.cld</recent2>\r\n";
  for (int i = 3; i < kRecentCount; ++i)
    expected += "<recent" + std::to_string(i) + "></recent" + std::to_string(i) + ">\r\n";
  expected += "<recent25>/last.cld</recent25>\r\n</Tarnini>\r\n";
  EXPECT_EQ(SettingsText(Sample()), expected);
  EXPECT_EQ(SettingsText(ReadSettingsText(expected, Settings{})), expected);
}

TEST(SettingsFile, FirstRunFileHasItsOwnOrderAndOneRecentEntryPerSample) {
  Settings two = FirstRunSettings("/t", {"/t/samples/a.cld", "/t/samples/b.cld"});
  EXPECT_EQ(FirstRunSettingsText(two),
            "<Tarnini>\r\n<maxy>3</maxy>\r\n<miny>13</miny>\r\n<nsel>3</nsel>\r\n<shortnames>1</shortnames>\r\n"
            "<clipwidth>8.25</clipwidth>\r\n<clipheight>6.6</clipheight>\r\n<lettersize>24</lettersize>\r\n"
            "<screensize>1</screensize>\r\n<readdir>/t/samples</readdir>\r\n<writedir>/t/data1</writedir>\r\n"
            "<recent1>/t/samples/a.cld</recent1>\r\n<recent2>/t/samples/b.cld</recent2>\r\n</Tarnini>\r\n");
  std::vector<std::string> samples;
  for (int i = 0; i < 30; ++i) samples.push_back("/t/samples/s" + std::to_string(100 + i) + ".cld");
  Settings many = FirstRunSettings("/t", samples);
  EXPECT_EQ(many.recent(25), samples[24]);  // the first 25
  EXPECT_NE(FirstRunSettingsText(many).find("<recent25>/t/samples/s124.cld</recent25>\r\n</Tarnini>"),
            std::string::npos);
}

TEST(SettingsFile, DamagedFileReadsWithDefaults) {
  Settings defaults = FirstRunSettings("/t", {});
  // Unreadable numbers, values out of range, a missing element and a file cut short.
  Settings s = ReadSettingsText(
      "<Tarnini>\r\n<maxy>abc</maxy>\r\n<miny>99</miny>\r\n<nsel>-4</nsel>\r\n<shortnames>7</shortnames>\r\n"
      "<screensize>1e400</screensize>\r\n<clipwidth></clipwidth>\r\n<readdir>  /x/y  </readdir>\r\n"
      "<recent1>/a.cld</recent1>\r\n<recent2>/b.cl",
      defaults);
  Settings expected = defaults;
  expected.readdir = "/x/y";
  expected.recent(1) = "/a.cld";
  EXPECT_EQ(SettingsText(s), SettingsText(expected));
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
  Settings changed = Sample();
  changed.nsel = 4;
  {
    InjectedSaveFault fullDisk(SaveStep::kWrite, ENOSPC);
    EXPECT_FALSE(WriteSettings(changed, ini, sink));
  }
  EXPECT_EQ(ReadFile(ini), before);
  EXPECT_EQ(sink.messages, std::vector<std::string>{"can't save " + ini});
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
  EXPECT_EQ(ReadFile(home / "Tarn.ini"), FirstRunSettingsText(s));
  EXPECT_EQ(s.recent(1), home / "samples/a.trn");
  EXPECT_EQ(s.recent(2), home / "samples/b.cld");
  EXPECT_EQ(s.recent(3), "");
  EXPECT_EQ(s.writedir, home / "data1");
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

  // Without a samples folder: an empty store and no recent entries. A first
  // start takes the window size it is given; a later one keeps the file's.
  TempFolder bare;
  EXPECT_EQ(LoadSettingsAtStart(bare.Path(), sink, 4).recent(1), "");
  EXPECT_EQ(LoadSettingsAtStart(bare.Path(), sink, 2).screensize, 4);
  EXPECT_EQ(ReadFile(bare / "store.fil"), "");
  EXPECT_EQ(ReadFile(bare / "Tarn.ini").find("<recent"), std::string::npos);
}

}  // namespace
}  // namespace tarn
