#include "core/app/project_open.h"

#include <gtest/gtest.h>

#include <string>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"
#include "support/model_builder.h"
#include "support/temp_folder.h"

namespace tarn {
namespace {

using testing::TempFolder;
using testing::WriteFile;

// An acid with a solid and two single points, as a titration.
ProjectState AcidWithSolid() {
  ProjectState s = test::ModelBuilder({"A", "H", "M"})
                       .Species(4.75, {1, 1, 0})
                       .Species(-13.75, {0, -1, 0})
                       .Solid(8, {1, 0, 1})
                       .Build();
  test::MakeTitration(s, 10, 12, 21);
  test::SetTitrant(s, 1, 0.1, 0);
  test::SetTitrant(s, 2, 0.1, -0.1);
  s.title = "Acid and salt";
  s.modified = false;
  return s;
}

// A two-reagent titration in the old fixed-column layout.
constexpr const char* kOldAcid =
    "Acid from an old file\r\n    2    2    0    0\r\n           A\r\n           H\r\n      4.75    1    1\r\n"
    "    -13.75    0   -1\r\n        .1         0       .01       .01         0         0T\r\n"
    "        .1       -.1       .01    -.0075         2        12F\r\n        10        12         1\r\n";

// The open project, whole: what must not change when a file is not opened.
struct Snapshot {
  explicit Snapshot(const ProjectState& s) : text(ProjectText(s)), file(s.currentFile), modified(s.modified) {}
  bool operator==(const Snapshot&) const = default;
  std::string text, file;
  bool modified;
};

class OpenProjectTest : public ::testing::Test {
 protected:
  ProjectState open = [] {
    ProjectState s = AcidWithSolid();
    s.currentFile = "/somewhere/open.cld";
    return s;
  }();
  RecordingSink sink;
  TempFolder folder;
};

TEST(ProjectOpen, FileKindsGoByTheLastThreeLettersInAnyCase) {
  EXPECT_EQ(KindOfFile("/a/x.cld"), FileKind::kProject);
  EXPECT_EQ(KindOfFile("/a/x.CLD"), FileKind::kProject);
  EXPECT_EQ(KindOfFile("/a/x.Trn"), FileKind::kOldFormat);
  EXPECT_EQ(KindOfFile("/a/x.TRN"), FileKind::kOldFormat);
  EXPECT_EQ(KindOfFile("/a/x.xml"), FileKind::kOther);
  EXPECT_EQ(KindOfFile("/a/cld/x"), FileKind::kOther);
  EXPECT_EQ(KindOfFile("ld"), FileKind::kOther);
  EXPECT_EQ(KindOfFile(""), FileKind::kOther);
  EXPECT_EQ(ReStoredPath("/a/x.trn"), "/a/x.CLD");
  EXPECT_EQ(ReStoredMessage("/a/x.CLD"),
            "The data will be re-stored in the file /a/x.CLD\r\rUse Save or Save As before exiting");
}

TEST_F(OpenProjectTest, AProjectFileInEitherCaseReplacesTheProject) {
  ProjectState written = AcidWithSolid();
  written.title = "Written";
  written.volume[kDistribution] = 2.5;
  for (const char* name : {"acid.cld", "ACID.CLD"}) {
    const std::string path = folder / name;
    WriteFile(path, ProjectText(written));
    ProjectState s = open;
    s.modified = true;
    OpenOutcome opened = OpenProject(s, "\"" + path + "\"", sink);
    EXPECT_EQ(opened.status, OpenStatus::kOpened) << name;
    EXPECT_TRUE(opened.Opened());
    EXPECT_EQ(opened.path, path);
    EXPECT_EQ(s.currentFile, path) << "Save writes the file itself, without the quotes";
    EXPECT_FALSE(s.modified);
    EXPECT_EQ(ProjectText(s), ProjectText(written));
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(OpenProjectTest, AnOldFormatFileIsReStoredUnderTheProjectName) {
  ProjectState expected;
  ASSERT_EQ(ReadTrnText(expected, kOldAcid, sink), ReadStatus::kOk);
  for (const char* name : {"old.trn", "OLD.TRN"}) {
    const std::string path = folder / name;
    WriteFile(path, kOldAcid);
    ProjectState s = open;
    OpenOutcome opened = OpenProject(s, path, sink);
    EXPECT_EQ(opened.status, OpenStatus::kReStored) << name;
    EXPECT_TRUE(opened.Opened());
    EXPECT_EQ(opened.kind, FileKind::kOldFormat);
    EXPECT_EQ(s.currentFile, path.substr(0, path.size() - 3) + "CLD");
    EXPECT_TRUE(s.modified) << "the project file does not exist yet";
    EXPECT_EQ(ProjectText(s), ProjectText(expected));
    EXPECT_EQ(s.title, "Acid from an old file");
  }
  EXPECT_TRUE(sink.messages.empty());
}

// A missing file, a project under another extension and damaged files of
// both kinds leave the open project exactly as it was.
TEST_F(OpenProjectTest, AFileNotReadLeavesTheOpenProjectUntouched) {
  const std::string whole = ProjectText(AcidWithSolid());
  WriteFile(folder / "cut.cld", whole.substr(0, whole.find("</Tarn>")));
  WriteFile(folder / "bytes.CLD", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  WriteFile(folder / "cut.trn", "Acid\r\n    2    2    0    0\r\n           A\r\n");
  WriteFile(folder / "huge.TRN", std::string("Huge\r\n 9000 9000    0    0\r\n") + std::string(200, ' '));
  WriteFile(folder / "project.xml", whole);
  WriteFile(folder / "project", whole);
  const Snapshot before(open);

  struct Case {
    const char* name;
    OpenStatus status;
  };
  for (const Case& c : {Case{"missing.cld", OpenStatus::kUnreadable}, Case{"missing.trn", OpenStatus::kUnreadable},
                        Case{"project.xml", OpenStatus::kUnreadable}, Case{"project", OpenStatus::kUnreadable},
                        Case{"cut.cld", OpenStatus::kRefused}, Case{"bytes.CLD", OpenStatus::kRefused},
                        Case{"cut.trn", OpenStatus::kRefused}, Case{"huge.TRN", OpenStatus::kRefused}}) {
    sink.messages.clear();
    const std::string path = folder / c.name;
    OpenOutcome opened = OpenProject(open, path, sink);
    EXPECT_EQ(opened.status, c.status) << c.name;
    EXPECT_FALSE(opened.Opened()) << c.name;
    EXPECT_TRUE(Snapshot(open) == before) << c.name;
    if (c.status == OpenStatus::kRefused)
      EXPECT_EQ(sink.messages, std::vector<std::string>{DamagedFileMessage(path)}) << c.name;
    else
      EXPECT_TRUE(sink.messages.empty()) << c.name;
  }
}

// A model without Tarn data is not read until the caller has chosen where
// the conditions come from; then it is read as a species distribution
// without solids and single points, over the open project's conditions.
TEST_F(OpenProjectTest, AModelOnlyFileWaitsForTheImportChoice) {
  ProjectState model = test::ModelBuilder({"L", "H"}).Species(9.5, {1, 1}).Species(-14, {0, -1}).Build();
  model.title = "Ligand";
  std::string text = ProjectText(model);
  text = text.substr(0, text.find("<Tarn>")) + "</calvor>\r\n";
  const std::string path = folder / "ligand.cld";
  WriteFile(path, text);

  const Snapshot before(open);
  OpenOutcome opened = OpenProject(open, path, sink);
  ASSERT_EQ(opened.status, OpenStatus::kModelOnly);
  EXPECT_FALSE(opened.Opened());
  EXPECT_TRUE(Snapshot(open) == before);
  EXPECT_EQ(opened.text, text);

  ASSERT_EQ(OpenModelOnly(open, opened, sink), ReadStatus::kOk);
  EXPECT_EQ(open.currentFile, path);
  EXPECT_EQ(open.type, kDistribution);
  EXPECT_EQ(open.nreag, 2);
  EXPECT_EQ(open.nspecies, 2);
  EXPECT_EQ(open.nsolids, 0);
  EXPECT_EQ(open.nsingle, 0);
  EXPECT_EQ(open.name(1), "L");
  EXPECT_DOUBLE_EQ(open.logbeta(1), 9.5);
  EXPECT_TRUE(sink.messages.empty());
}

// A model-only file whose counts its text could not fill is refused when it
// is read, and the open project stays.
TEST_F(OpenProjectTest, ADamagedModelOnlyFileIsRefusedWhenRead) {
  const std::string path = folder / "huge.cld";
  WriteFile(path,
            "<calvor><model><reagents><number>7000</number></reagents><betas><number>7000</number></betas></model>"
            "</calvor>" +
                std::string(7000, ' '));
  const Snapshot before(open);
  OpenOutcome opened = OpenProject(open, path, sink);
  ASSERT_EQ(opened.status, OpenStatus::kModelOnly);
  EXPECT_EQ(OpenModelOnly(open, opened, sink), ReadStatus::kRefused);
  EXPECT_TRUE(Snapshot(open) == before);
  EXPECT_EQ(sink.messages, std::vector<std::string>{DamagedFileMessage(path)});
}

}  // namespace
}  // namespace tarn
