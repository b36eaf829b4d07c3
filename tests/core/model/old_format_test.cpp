#include "model/old_format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/message_sink.h"
#include "model/model.h"
#include "model/project_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// Right-aligns text in a field of the given width, as fixed-column files hold numbers.
std::string Col(std::string_view text, std::size_t width) {
  return std::string(width - text.size(), ' ') + std::string(text);
}

// A fixed-layout condition row: six numbers of ten positions, then the flag (position 61).
std::string Row(std::initializer_list<const char*> numbers, const char* flag) {
  std::string row;
  for (const char* n : numbers) row += Col(n, 10);
  return row + flag;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

// Cu, Gly, H with four species, the solid CuH-2(s), a titration from 20 to
// 25 mL and two single points; the fixed-column layout.
std::string CopperFixed() {
  return Lines({"  Copper glycinate  ", Col("3", 5) + Col("4", 5) + Col("1", 5) + Col("2", 5), "reagent 1  Cu   ",
                "reagent 2  Gly", "reagent 3  H", Col("8.1", 10) + Col("1", 5) + Col("1", 5) + Col("0", 5),
                Col("15", 10) + Col("1", 5) + Col("2", 5) + Col("0", 5),
                Col("9.6", 10) + Col("0", 5) + Col("1", 5) + Col("1", 5),
                Col("-13.77", 10) + Col("0", 5) + Col("0", 5) + Col("-1", 5),
                Col("-19.32", 10) + Col("1", 5) + Col("0", 5) + Col("-2", 5),
                Row({".02", "0", ".001", ".001", "0", "0"}, "T"), Row({".04", "0", ".002", ".002", "0", "0"}, "T"),
                Row({".1", "-.1", "0", "0", "2", "11"}, "F"), Col("20", 10) + Col("25", 10) + "     " + Col("1", 5),
                "1E-3,0,T,.002,0,T,0,7,F", ".001,0,T,.001,0,T,0,4,F", "\"Cu, free\",Gly,,\"Cu(gly)\""});
}

// The same project in the comma-separated layout; the titration column's
// concentrations are derived, so they are written as 0, and a titration flag
// of F is overruled.
std::string CopperComma() {
  return Lines({"Copper glycinate",
                "3,4,1,2,0",
                "Cu",
                "Gly",
                "H",
                Col("8.1", 10) + Col("1", 5) + Col("1", 5) + Col("0", 5),
                Col("15", 10) + Col("1", 5) + Col("2", 5) + Col("0", 5),
                Col("9.6", 10) + Col("0", 5) + Col("1", 5) + Col("1", 5),
                Col("-13.77", 10) + Col("0", 5) + Col("0", 5) + Col("-1", 5),
                Col("-19.32", 10) + Col("1", 5) + Col("0", 5) + Col("-2", 5),
                ".02,0,0,0,0,0,T",
                ".04,0,0,0,0,0,F",
                ".1,-.1,0,0,0,0,T",
                ".02,0,.001,.001,0,0,T",
                ".04 , 0 , .002 , .002 , 0 , 0 , #TRUE#",
                ".1,-.1,0,0,2,11,F",
                "20,1,25,0,0",
                "",
                "1E-3,0,T",
                ".002,0,T,0,7,F",
                ".001,0,T,.001,0,T,0,4,F",
                "\"Cu, free\"",
                "Gly",
                "\"\"",
                "Cu(gly)"});
}

// The same project as a project file, written by hand.
const char* kCopperProject =
    "<calvor><model><title>Copper glycinate</title><maxit>25</maxit><mode>0</mode><excessive>.33</excessive>"
    "<reagents><number>3</number><name1>Cu</name1><name2>Gly</name2><name3>H</name3></reagents>"
    "<betas><number>4</number>"
    "<b1><value>8.1</value><a1>1</a1><a2>1</a2><a3>0</a3><refine>0</refine></b1>"
    "<b2><value>15</value><a1>1</a1><a2>2</a2><a3>0</a3><refine>0</refine></b2>"
    "<b3><value>9.6</value><a1>0</a1><a2>1</a2><a3>1</a3><refine>0</refine></b3>"
    "<b4><value>-13.77</value><a1>0</a1><a2>0</a2><a3>-1</a3><refine>0</refine></b4>"
    "</betas><selector></selector></model>"
    "<Tarn><type>0</type><insolubles><number>1</number>"
    "<i1><value>-19.32</value><a1>1</a1><a2>0</a2><a3>-2</a3></i1></insolubles>"
    "<titration><volume>20</volume><final>25</final>"
    "<r1><total>.02</total><burette>0</burette></r1><r2><total>.04</total><burette>0</burette></r2>"
    "<r3><total>.1</total><burette>-.1</burette></r3></titration>"
    "<simulation><volume>1</volume>"
    "<r1><initial>.001</initial><final>.001</final><pxi>0</pxi><pxf>0</pxf><flag>True</flag></r1>"
    "<r2><initial>.002</initial><final>.002</final><pxi>0</pxi><pxf>0</pxf><flag>True</flag></r2>"
    "<r3><initial>0</initial><final>0</final><pxi>2</pxi><pxf>11</pxf><flag>False</flag></r3></simulation>"
    "<single><number>2</number>"
    "<p1><total1>.001</total1><free1>0</free1><flag1>True</flag1><total2>.002</total2><free2>0</free2>"
    "<flag2>True</flag2><total3>0</total3><free3>7</free3><flag3>False</flag3></p1>"
    "<p2><total1>.001</total1><free1>0</free1><flag1>True</flag1><total2>.001</total2><free2>0</free2>"
    "<flag2>True</flag2><total3>0</total3><free3>4</free3><flag3>False</flag3></p2></single>"
    "<captions><c1>Cu, free</c1><c2>Gly</c2><c4>Cu(gly)</c4></captions></Tarn></calvor>";

ProjectState Read(const std::string& text, RecordingSink& sink) {
  ProjectState s;
  s.potentiometricData = "left over from the previous project";
  s.selector = "old selector";
  EXPECT_EQ(ReadTrnText(s, text, sink), ReadStatus::kOk);
  return s;
}

TEST(OldFormat, BothLayoutsReadAsTheEquivalentProjectFile) {
  RecordingSink sink;
  ProjectState expected;
  ASSERT_EQ(ReadProjectText(expected, kCopperProject, sink), ReadStatus::kOk);
  for (const std::string& text : {CopperFixed(), CopperComma()}) {
    ProjectState s = Read(text, sink);
    EXPECT_EQ(ProjectText(s), ProjectText(expected));
    // Values the project file does not hold.
    EXPECT_EQ(s.proton, 3);
    EXPECT_EQ(s.vadded, 5);
    EXPECT_DOUBLE_EQ(s.initial(2, kTitration), static_cast<double>(0.04f) / 20);
    EXPECT_DOUBLE_EQ(s.final(3, kTitration), (static_cast<double>(0.1f) - 5 * static_cast<double>(0.1f)) / 25);
    for (int j = 1; j <= 3; ++j) EXPECT_TRUE(s.flag(j, kTitration)) << j;
    EXPECT_EQ(s.refine(2), 0);
    EXPECT_EQ(s.maxit, 25);
    EXPECT_FALSE(s.modified);
    EXPECT_TRUE(s.recalc);
    // Read back from the written file: the same project.
    ProjectState back;
    ASSERT_EQ(ReadProjectText(back, ProjectText(s), sink), ReadStatus::kOk);
    EXPECT_EQ(ProjectText(back), ProjectText(s));
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST(OldFormat, FixedLayoutCopiesConditionsIntoBothColumnsAndTrimsNames) {
  RecordingSink sink;
  ProjectState s = Read(CopperFixed(), sink);
  EXPECT_EQ(s.title, "Copper glycinate");
  EXPECT_EQ(s.name(1), "Cu");
  EXPECT_EQ(s.caption(1), "Cu, free");
  EXPECT_EQ(s.caption(3), "H");
  EXPECT_EQ(s.caption(8), "CuH-2(s)");
  EXPECT_FLOAT_EQ(s.logksp(1), -19.32f);
  EXPECT_EQ(s.total(3, kDistribution), s.total(3, kTitration));
  EXPECT_EQ(s.burette(3, kDistribution), static_cast<double>(-0.1f));
  EXPECT_EQ(s.pxf(3, kTitration), 11);
  EXPECT_EQ(s.type, kTitration);
  EXPECT_EQ(s.volume[1], 1);
  EXPECT_TRUE(s.sflag(2, 2));
  EXPECT_FALSE(s.sflag(3, 2));
  EXPECT_EQ(s.sfree(3, 2), 4);
}

TEST(OldFormat, CommaInTheSecondLineChoosesItemsEvenForFixedLookingLines) {
  RecordingSink sink;
  std::string text = Lines({"t", "1,0,0,0,0,7", "reagent 1  Cu", Row({".5", "0", "0", "0", "3", "4"}, "T"),
                            "2,0,0,0,0,F", "0,0,0,0,0,0,F", "0,0,12,0,1"});
  ProjectState s = Read(text, sink);
  EXPECT_EQ(s.name(1), "reagent 1  Cu");   // the whole line
  EXPECT_EQ(s.burette(1, kTitration), 2);  // the fixed-looking row was one item
  EXPECT_EQ(s.pxi(1, kDistribution), 0);
  EXPECT_FALSE(s.flag(1, kDistribution));
  EXPECT_TRUE(s.flag(1, kTitration));
  EXPECT_EQ(s.type, kDistribution);
  EXPECT_EQ(s.volume[0], 10);  // no initial volume: 10, and the final 12 stays
  EXPECT_EQ(s.vfinal, 12);
  EXPECT_EQ(s.volume[1], 1);  // 0 becomes 1
}

TEST(OldFormat, FlagPositionVolumesAndTypeOfTheFixedLayout) {
  auto file = [](const std::string& flagRow, const std::string& volumes) {
    return Lines({"t", Col("2", 5) + Col("0", 5), "reagent 1  A", "reagent 2  B",
                  Row({"1", "0", "0", "0", "0", "0"}, "F"), flagRow, volumes});
  };
  RecordingSink sink;
  ProjectState s =
      Read(file(Row({"1", "0", "0", "0", "0", "0"}, " T"), Col("0", 10) + Col("5", 10) + Col("1", 10)), sink);
  EXPECT_FALSE(s.flag(1, kDistribution));  // "F" at position 61
  EXPECT_FALSE(s.flag(2, kDistribution));  // a blank at position 61
  EXPECT_EQ(s.volume[0], 10);
  EXPECT_EQ(s.vfinal, 12);
  EXPECT_EQ(s.vadded, 2);
  EXPECT_DOUBLE_EQ(s.initial(1, kTitration), 0.1);
  EXPECT_DOUBLE_EQ(s.final(1, kTitration), 1.0 / 12);
  EXPECT_EQ(s.type, kTitration);  // 1 in positions 26-30

  s = Read(file(Row({"1", "0", "0", "0", "0", "0"}, ""), Col("8", 10) + Col("5", 10) + Col("1", 5)), sink);
  EXPECT_FALSE(s.flag(2, kDistribution));  // the line ends before position 61
  EXPECT_EQ(s.type, kDistribution);        // the 1 is in positions 21-25, outside the field
  EXPECT_EQ(s.volume[0], 8);               // a positive volume stays, even above the final one
  EXPECT_EQ(s.vfinal, 5);

  s = Read(file(Row({"1", "0", "0", "0", "0", "0"}, "T"), Col("20", 10) + Col("0", 10) + Col("7", 10)), sink);
  EXPECT_TRUE(s.flag(2, kDistribution));
  EXPECT_EQ(s.type, kTitration);         // any value but 0 is a titration
  EXPECT_EQ(s.final(1, kTitration), 0);  // no final volume: no division
  EXPECT_TRUE(sink.messages.empty());
}

TEST(OldFormat, ShortAndEmptyFilesReadWithDefaults) {
  RecordingSink sink;
  ProjectState s = Read(Lines({"only", Col("2", 5) + Col("1", 5) + Col("0", 5) + Col("3", 5), "reagent 1  H"}), sink);
  EXPECT_EQ(s.nreag, 2);
  EXPECT_EQ(s.nsingle, 3);
  EXPECT_EQ(s.proton, 1);
  EXPECT_EQ(s.name(2), "");
  EXPECT_EQ(s.volume[0], 10);
  EXPECT_EQ(s.vfinal, 12);
  EXPECT_EQ(s.caption(3), "");  // the species has no coefficients
  EXPECT_TRUE(s.flag(2, kTitration));
  s = Read("", sink);
  EXPECT_EQ(s.ntotal(), 0);
  EXPECT_EQ(s.title, "");
  EXPECT_TRUE(s.potentiometricData.empty());
  EXPECT_TRUE(s.selector.empty());
}

TEST(OldFormat, ImpossibleCountsAreRefusedAndLeaveTheProject) {
  RecordingSink sink;
  ProjectState s = Read(CopperFixed(), sink);
  const std::string before = ProjectText(s);
  for (const std::string& counts :
       {Col("-1", 5), Col("3", 5) + Col("99999", 5), std::string("3,4,1,2000000000,0"), std::string("1e300,0,0,0,0")}) {
    std::string text = Lines({"x", counts});
    EXPECT_EQ(ReadTrnText(s, text, sink), ReadStatus::kRefused) << counts;
    EXPECT_EQ(ProjectText(s), before);
  }
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(sink.messages[0], kAbsurdCountsMessage);
}

// A model-only project file (no Tarn section) of the copper model, with
// names that differ from the old files' ones.
std::string ModelOnly() {
  std::string text(kCopperProject);
  text = text.substr(0, text.find("<Tarn>")) + "</calvor>";
  text.replace(text.find("<name2>Gly</name2>"), 18, "<name2>L</name2>");
  return text;
}

TEST(Import, TakesConditionsAndPointsAndKeepsTheModel) {
  RecordingSink sink;
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, ModelOnly(), sink), ReadStatus::kOk);
  // The old file's species lines differ from the model: they are skipped.
  std::string text = CopperComma();
  text.replace(text.find("3,4,1,2,0"), 9, "3,1,0,2,0");
  std::size_t species = text.find(Col("8.1", 10));
  text.erase(species, text.find(".02,0,0") - species);
  text.insert(species, Col("99", 10) + Col("5", 5) + "\r\n");
  s.plot.yChoice = 2;
  ASSERT_EQ(GetTarndataText(s, text, sink), kImportAdded);
  EXPECT_EQ(s.name(2), "L");
  EXPECT_EQ(s.nspecies, 4);
  EXPECT_FLOAT_EQ(static_cast<float>(s.logbeta(2)), 15.0f);
  EXPECT_EQ(s.a(2, 2), 2);
  EXPECT_EQ(s.nsingle, 2);
  EXPECT_EQ(s.sfree(3, 1), 7);
  EXPECT_EQ(s.pxf(3, kDistribution), 11);
  EXPECT_EQ(s.volume[0], 20);
  EXPECT_DOUBLE_EQ(s.initial(1, kTitration), static_cast<double>(0.02f) / 20);
  EXPECT_TRUE(s.flag(2, kTitration));
  EXPECT_EQ(s.caption(1), "Cu");  // the file's captions are not taken
  EXPECT_EQ(s.caption(5), "CuL2");
  EXPECT_EQ(s.plot.yChoice, 0);
  EXPECT_TRUE(s.recalc);
  EXPECT_TRUE(sink.messages.empty());
  ProjectState back;
  ASSERT_EQ(ReadProjectText(back, ProjectText(s), sink), ReadStatus::kOk);
  EXPECT_EQ(ProjectText(back), ProjectText(s));
}

TEST(Import, RefusalsLeaveTheProjectAsItWas) {
  RecordingSink sink;
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, ModelOnly(), sink), ReadStatus::kOk);
  s.plot.yChoice = 2;
  const std::string before = ProjectText(s);
  const std::pair<std::string, const char*> cases[] = {
      {Lines({"t", "4,0,0,0,0"}), "Inconsistent number of reagents"},
      {Lines({"t", Col("2", 5)}), "Inconsistent number of reagents"},
      {CopperFixed(), "No insoluble species allowed here"},
      {Lines({"t", "3,0,0,99999999,0"}), kAbsurdCountsMessage},
  };
  for (const auto& [text, message] : cases) {
    sink.messages.clear();
    EXPECT_EQ(GetTarndataText(s, text, sink), kImportRefused);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0], message);
    EXPECT_EQ(ProjectText(s), before);
    EXPECT_EQ(s.plot.yChoice, 2);
  }
  sink.messages.clear();
  EXPECT_EQ(GetTarndata(s, "/nonexistent/folder/file.trn", sink), kImportRefused);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(ProjectText(s), before);
}

TEST(Import, DefaultsOfAModelOnlyFile) {
  RecordingSink sink;
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, ModelOnly(), sink), ReadStatus::kOk);
  s.caption(4) = "custom";
  s.total(1, kTitration) = 5;
  ApplyImportDefaults(s);
  EXPECT_EQ(s.volume[0], 10);
  EXPECT_EQ(s.vfinal, 12);
  EXPECT_EQ(s.vadded, 2);
  EXPECT_EQ(s.volume[1], 1);
  EXPECT_EQ(s.caption(4), "CuL");
  for (int j = 1; j <= s.nreag; ++j)
    for (int t : {kTitration, kDistribution}) {
      EXPECT_EQ(s.total(j, t), 0);
      EXPECT_EQ(s.burette(j, t), 0);
      EXPECT_EQ(s.initial(j, t), 0);
      EXPECT_EQ(s.final(j, t), 0);
      EXPECT_EQ(s.pxi(j, t), 3);
      EXPECT_EQ(s.pxf(j, t), 9);
      EXPECT_TRUE(s.flag(j, t));
    }
}

class OldFormatOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tarn_trn_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path dir;
  RecordingSink sink;
};

TEST_F(OldFormatOnDisk, OpensAQuotedPathAndRefusesAMissingFile) {
  std::string path = (dir / "copper.trn").string();
  { std::ofstream(path, std::ios::binary) << CopperFixed(); }
  ProjectState s;
  s.currentFile = "\"" + path + "\"";
  ASSERT_EQ(OpenTrn(s, sink), ReadStatus::kOk);
  EXPECT_EQ(s.currentFile, path);
  EXPECT_EQ(s.nspecies, 4);

  s.currentFile = (dir / "missing.trn").string();
  EXPECT_EQ(OpenTrn(s, sink), ReadStatus::kUnreadable);
  EXPECT_EQ(s.nspecies, 4);
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(OldFormatOnDisk, ImportsFromAFile) {
  std::string path = (dir / "conditions.trn").string();
  std::string text = CopperComma();
  text.replace(text.find("3,4,1,2,0"), 9, "3,4,0,2,0");
  text.erase(text.find(Col("-19.32", 10)), 27);  // the solid line
  { std::ofstream(path, std::ios::binary) << text; }
  ProjectState s;
  ASSERT_EQ(ReadProjectText(s, ModelOnly(), sink), ReadStatus::kOk);
  EXPECT_EQ(GetTarndata(s, path, sink), kImportAdded);
  EXPECT_EQ(s.vfinal, 25);
  EXPECT_EQ(s.stotal(2, 1), static_cast<double>(0.002f));
}

}  // namespace
}  // namespace tarn
