#include "core/model/old_format.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/project_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// The fuzz targets' seeds are also these tests' fixtures: the copper
// glycinate project (Cu, Gly, H, four species, the solid CuH-2(s), a titration
// from 20 to 25 mL, two single points) in the fixed-column layout, in the
// comma-separated layout (where the derived titration concentrations are
// written as 0 and a titration flag of F is overruled), and as the equivalent
// project file, written by hand.
std::string Fixture(const std::string& name) {
  std::string text;
  EXPECT_TRUE(ReadTextFile(TARN_SOURCE_DIR "/tests/fuzz/corpus/" + name, text)) << name;
  return text;
}
const std::string kFixed = Fixture("fuzz_old_format/copper_fixed.trn");
const std::string kComma = Fixture("fuzz_old_format/copper_comma.trn");
const std::string kProject = Fixture("fuzz_project_file/copper_glycinate.cld");

// Right-aligns text in a field of the given width, as fixed-column files hold numbers.
std::string Col(std::string_view text, std::size_t width) {
  return std::string(width - text.size(), ' ') + std::string(text);
}

// A fixed-layout condition row: six numbers of ten positions, then the flag (position 61).
std::string Row(const char* flag) {
  return Col("1", 10) + Col("0", 10) + Col("0", 10) + Col("0", 10) + Col("3", 10) + Col("4", 10) + flag;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

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
  ASSERT_EQ(ReadProjectText(expected, kProject, sink), ReadStatus::kOk);
  for (const std::string& text : {kFixed, kComma}) {
    ProjectState s = Read(text, sink);
    EXPECT_EQ(ProjectText(s), ProjectText(expected));
    // Values the project file does not hold.
    EXPECT_EQ(s.title, "Copper glycinate");
    EXPECT_EQ(s.name(1), "Cu");
    EXPECT_EQ(s.proton, 3);
    EXPECT_EQ(s.vadded, 5);
    EXPECT_DOUBLE_EQ(s.initial(2, kTitration), static_cast<double>(0.04f) / 20);
    EXPECT_DOUBLE_EQ(s.final(3, kTitration), (static_cast<double>(0.1f) - 5 * static_cast<double>(0.1f)) / 25);
    for (int j = 1; j <= 3; ++j) EXPECT_TRUE(s.flag(j, kTitration)) << j;
    EXPECT_EQ(s.total(3, kDistribution), s.total(3, kTitration));
    EXPECT_EQ(s.burette(3, kDistribution), static_cast<double>(-0.1f));
    EXPECT_EQ(s.maxit, 25);
    EXPECT_FALSE(s.modified);
    EXPECT_TRUE(s.recalc);
    ProjectState back;
    ASSERT_EQ(ReadProjectText(back, ProjectText(s), sink), ReadStatus::kOk);
    EXPECT_EQ(ProjectText(back), ProjectText(s));
  }
  EXPECT_EQ(Read(kFixed, sink).pxf(3, kTitration), 11);  // one set of rows fills both columns
  EXPECT_TRUE(sink.messages.empty());
}

TEST(OldFormat, CommaInTheSecondLineChoosesItemsEvenForFixedLookingLines) {
  RecordingSink sink;
  ProjectState s =
      Read(Lines({"t", "1,0,0,0,0,7", "reagent 1  Cu", Row("T"), "2,0,0,0,0,F", "0,0,0,0,0,0,F", "0,0,12,0,1"}), sink);
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
    return Lines({"t", Col("2", 5) + Col("0", 5), "reagent 1  A", "reagent 2  B", Row("F"), flagRow, volumes});
  };
  RecordingSink sink;
  ProjectState s = Read(file(Row(" T"), Col("0", 10) + Col("5", 10) + Col("1", 10)), sink);
  EXPECT_FALSE(s.flag(1, kDistribution));  // "F" at position 61
  EXPECT_FALSE(s.flag(2, kDistribution));  // a blank at position 61
  EXPECT_EQ(s.volume[0], 10);
  EXPECT_EQ(s.vfinal, 12);
  EXPECT_EQ(s.vadded, 2);
  EXPECT_DOUBLE_EQ(s.final(1, kTitration), 1.0 / 12);
  EXPECT_EQ(s.type, kTitration);  // 1 in positions 26-30

  s = Read(file(Row(""), Col("8", 10) + Col("5", 10) + Col("1", 5)), sink);
  EXPECT_FALSE(s.flag(2, kDistribution));  // the line ends before position 61
  EXPECT_EQ(s.type, kDistribution);        // the 1 is in positions 21-25, outside the field
  EXPECT_EQ(s.volume[0], 8);               // a positive volume stays, even above the final one
  EXPECT_EQ(s.vfinal, 5);

  s = Read(file(Row("T"), Col("20", 10) + Col("0", 10) + Col("7", 10)), sink);
  EXPECT_TRUE(s.flag(2, kDistribution));
  EXPECT_EQ(s.type, kTitration);         // any value but 0 is a titration
  EXPECT_EQ(s.final(1, kTitration), 0);  // no final volume: no division
  EXPECT_TRUE(sink.messages.empty());
}

// A file cut short by a crash or a full disk was read with zeros and empty
// names for all it lacked. Now it is damaged and changes nothing, unless
// only its captions are missing.
TEST(OldFormat, FilesCutShortAreDamagedUnlessOnlyCaptionsAreMissing) {
  for (const std::string& whole : {kFixed, kComma}) {
    const std::size_t captions = whole.find("\"Cu, free\"");
    ASSERT_NE(captions, std::string::npos);
    RecordingSink sink;
    ProjectState s = Read(kFixed, sink);
    s.currentFile = "/data/copper.trn";
    const std::string before = ProjectText(s);
    int refused = 0;
    for (std::size_t cut = 0; cut < whole.size(); cut = whole.find('\n', cut) + 1) {
      SCOPED_TRACE(whole.substr(0, cut));
      sink.messages.clear();
      ReadStatus status = ReadTrnText(s, whole.substr(0, cut), sink);
      if (cut < captions) {
        ++refused;
        EXPECT_EQ(status, ReadStatus::kRefused);
        EXPECT_EQ(sink.messages, std::vector<std::string>{"/data/copper.trn is damaged or not a Tarn project file"});
        EXPECT_EQ(ProjectText(s), before);
      } else {
        EXPECT_EQ(status, ReadStatus::kOk);
        EXPECT_EQ(s.nsingle, 2);
        if (cut == captions) {
          EXPECT_EQ(s.caption(1), "Cu");  // the default
        }
      }
    }
    EXPECT_GE(refused, 16);  // every line up to the single points
  }
}

TEST(OldFormat, ImpossibleCountsAreRefusedAndLeaveTheProject) {
  RecordingSink sink;
  ProjectState s = Read(kFixed, sink);
  const std::string before = ProjectText(s);
  // The last, 25 bytes, once made a project of 79 MB: each count was
  // checked against the file's size, not what they declare together.
  for (const std::string& counts :
       {Col("-1", 5), Col("3", 5) + Col("99999", 5), std::string("3,4,1,2000000000,0"), std::string("1e300,0,0,0,0"),
        Col("0", 5), Col("999", 5) + Col("999", 5) + Col("0", 5) + Col("999", 5)}) {
    EXPECT_EQ(ReadTrnText(s, Lines({"x", counts}), sink), ReadStatus::kRefused) << counts;
    EXPECT_EQ(ProjectText(s), before);
  }
  EXPECT_EQ(Lines({"x", Col("999", 5) + Col("999", 5) + Col("0", 5) + Col("999", 5)}).size(), 25u);
  EXPECT_EQ(sink.messages, std::vector<std::string>(6, DamagedFileMessage("")));
}

// The copper model without its Tarn section, with names that differ from the old files' ones.
ProjectState ModelOnly() {
  std::string text = kProject.substr(0, kProject.find("<Tarn>")) + "</calvor>";
  text.replace(text.find("<name2>Gly</name2>"), 18, "<name2>L</name2>");
  ProjectState s;
  RecordingSink sink;
  EXPECT_EQ(ReadProjectText(s, text, sink), ReadStatus::kOk);
  s.plot.yChoice = 2;
  return s;
}

TEST(Import, TakesConditionsAndPointsAndKeepsTheModel) {
  ProjectState s = ModelOnly();
  // The old file's species lines differ from the model: they are skipped.
  std::string text = kComma;
  text.replace(text.find("3,4,1,2,0"), 9, "3,1,0,2,0");
  std::size_t species = text.find(Col("8.1", 10));
  text.replace(species, text.find(".02,0,0") - species, Col("99", 10) + Col("5", 5) + "\r\n");
  RecordingSink sink;
  ASSERT_EQ(GetTarndataText(s, text, sink), kImportAdded);
  EXPECT_EQ(s.name(2), "L");
  EXPECT_EQ(s.nspecies, 4);
  EXPECT_EQ(s.a(2, 2), 2);
  EXPECT_EQ(s.nsingle, 2);
  EXPECT_EQ(s.sfree(3, 1), 7);
  EXPECT_EQ(s.pxf(3, kDistribution), 11);
  EXPECT_DOUBLE_EQ(s.initial(1, kTitration), static_cast<double>(0.02f) / 20);
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
  ProjectState s = ModelOnly();
  const std::string before = ProjectText(s);
  const std::pair<std::string, const char*> cases[] = {
      {Lines({"t", "4,0,0,0,0"}), "Inconsistent number of reagents"},
      {Lines({"t", Col("2", 5)}), "Inconsistent number of reagents"},
      {kFixed, "No insoluble species allowed here"},
      {Lines({"t", "3,0,0,99999999,0"}), " is damaged or not a Tarn project file"},
  };
  RecordingSink sink;
  for (const auto& [text, message] : cases) {
    sink.messages.clear();
    EXPECT_EQ(GetTarndataText(s, text, sink), kImportRefused);
    EXPECT_EQ(sink.messages, std::vector<std::string>{message});
    EXPECT_EQ(ProjectText(s), before);
    EXPECT_EQ(s.plot.yChoice, 2);
  }
}

TEST(Import, DefaultsOfAModelOnlyFile) {
  ProjectState s = ModelOnly();
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
      EXPECT_EQ(s.total(j, t) + s.burette(j, t) + s.initial(j, t) + s.final(j, t), 0);
      EXPECT_EQ(s.pxi(j, t), 3);
      EXPECT_EQ(s.pxf(j, t), 9);
      EXPECT_TRUE(s.flag(j, t));
    }
}

TEST(OldFormatFiles, OpenAQuotedPathImportAndRefuseAMissingFile) {
  fs::path dir =
      fs::temp_directory_path() / ("tarn_trn_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::create_directories(dir);
  std::string path = (dir / "copper.trn").string();
  std::ofstream(path, std::ios::binary) << kFixed;
  RecordingSink sink;
  ProjectState s;
  ASSERT_EQ(OpenTrn(s, "\"" + path + "\"", sink), ReadStatus::kOk);
  EXPECT_EQ(s.currentFile, path);
  EXPECT_EQ(s.nspecies, 4);
  EXPECT_EQ(OpenTrn(s, (dir / "missing.trn").string(), sink), ReadStatus::kUnreadable);
  EXPECT_EQ(s.nspecies, 4);
  EXPECT_EQ(s.currentFile, path);

  std::string text = kComma;
  text.replace(text.find("3,4,1,2,0"), 9, "3,4,0,2,0");
  text.erase(text.find(Col("-19.32", 10)), 27);  // the solid line
  std::ofstream((dir / "conditions.trn").string(), std::ios::binary) << text;
  ProjectState model = ModelOnly();
  EXPECT_EQ(GetTarndata(model, (dir / "conditions.trn").string(), sink), kImportAdded);
  EXPECT_EQ(model.vfinal, 25);
  EXPECT_EQ(model.stotal(2, 1), static_cast<double>(0.002f));
  const std::string before = ProjectText(model);
  EXPECT_EQ(GetTarndata(model, (dir / "missing.trn").string(), sink), kImportRefused);
  EXPECT_EQ(ProjectText(model), before);
  EXPECT_TRUE(sink.messages.empty());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tarn
