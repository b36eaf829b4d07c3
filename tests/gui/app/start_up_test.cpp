// Starting the program: the first start in a fresh program folder, the start
// window's choices, files that cannot be opened and the command line.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "gui/app/program_start.h"
#include "core/model/message_sink.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using namespace test;

TEST(StartUpTest, FirstStartListsTheSamplesAndOpensTheChosenOne) {
  ProgramHome home;
  std::vector<std::string> samples = SampleFiles(home.Folder());
  ASSERT_GE(samples.size(), 7u);
  T32Main main(home.Folder());
  main.Load("");                                     // makes the settings and the store (the restore test reads it)
  EXPECT_TRUE(main.Menus().points[3]->isChecked());  // the first start's point count, 101
  EXPECT_EQ(main.GetSession().project.npoints, 101);
  const std::string path = home.Sample("phosphoric-acid.cld");
  AnswerStartWindow([&](Startup& start) {
    EXPECT_EQ(start.windowTitle(), "Starting Tarn");
    EXPECT_EQ(start.RecentList().count(), static_cast<int>(samples.size()));
    EXPECT_EQ(start.RecentList().currentItem()->text().toStdString(), ShortName(samples[0], 1));
    ChooseRecent(start, "phosphoric-acid.cld");
  });
  main.FirstActivation();
  const ProjectState& project = main.GetSession().project;
  EXPECT_EQ(main.windowTitle().toStdString(), "Tarn2009: " + path);
  EXPECT_EQ(project.currentFile, path);
  EXPECT_GT(project.nreag, 0);
  EXPECT_FALSE(project.modified);
  EXPECT_EQ(static_cast<int>(main.Menus().removeReagent.size()), project.nreag);
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<recent1>" + path + "</recent1>"), std::string::npos);
}

TEST(StartUpTest, ADamagedSettingsFileStartsWithDefaults) {
  ProgramHome home;
  T32Main(home.Folder()).Load("");
  WriteWholeFile(SettingsPath(home.Folder()), "<Tarnini>\r\n<nsel>many</nsel>\r\n<screensize>99</scr");
  T32Main main(home.Folder());
  main.Load("");
  EXPECT_EQ(main.GetSession().project.npoints, 101);
  EXPECT_TRUE(main.Menus().points[3]->isChecked());
  EXPECT_TRUE(main.Menus().sizes[1]->isChecked());
  EXPECT_EQ(main.GetSession().settings.readdir, SamplesFolder(home.Folder()));
}

TEST(StartUpTest, AFileThatVanishedIsReportedAndTheStartWindowComesBack) {
  ProgramHome home;
  std::string path = home.Sample("calcium-edta.cld");
  T32Main main(home.Folder());
  main.Load("");
  std::shared_ptr<ModalSeen> seen;
  bool startedAgain = false;
  AnswerStartWindow([&](Startup& start) {
    std::filesystem::remove(path);  // gone after the list was filled
    seen = AnswerMessageBox(QMessageBox::Ok, [&] {
      AnswerStartWindow([&](Startup& again) {
        startedAgain = true;
        EXPECT_TRUE(again.RecentList().findItems("calcium-edta.cld", Qt::MatchEndsWith).empty());
        ChooseQuit(again);
      });
    });
    ChooseRecent(start, "calcium-edta.cld");
  });
  main.FirstActivation();
  EXPECT_EQ(seen->text.toStdString(), "can't open " + path);
  EXPECT_TRUE(startedAgain);
  EXPECT_EQ(main.GetSession().project.nreag, 0);
  EXPECT_TRUE(main.Ended());  // Quit ends the program without a prompt
}

TEST(StartUpTest, ARefusedFileOrProgramFolderIsReported) {
  ProgramHome home;
  std::string path = home.Scratch("absurd.cld");
  WriteWholeFile(
      path,
      "<calvor><model><reagents><number>99999999</number></reagents></model><Tarn><type>0</type></Tarn></calvor>");
  T32Main main(home.Folder());
  main.Load(path);
  auto seen = AnswerMessageBox(QMessageBox::Ok, [] { AnswerStartWindow(ChooseQuit); });
  main.FirstActivation();
  EXPECT_EQ(seen->text.toStdString(), path + " is damaged or not a Tarn project file");
  EXPECT_EQ(main.GetSession().project.nreag, 0);

  std::string notAFolder = home.Scratch("plain-file");
  WriteWholeFile(notAFolder, "x");
  qputenv("TARN_HOME", QByteArray::fromStdString(notAFolder + "/tarn"));
  RecordingSink sink;
  EXPECT_FALSE(OpenProgramFolder(TARN_DATA_DIR, sink).has_value());
  EXPECT_EQ(sink.messages, std::vector<std::string>{kNoProgramFolderMessage + notAFolder + "/tarn"});
}

TEST(StartUpTest, OpenStoredProjectUsesTheDialogAndACancelReturnsToTheStartWindow) {
  ProgramHome home;
  std::string path = home.Sample("iron-hydroxide.cld");
  T32Main main(home.Folder());
  main.Load("");
  std::shared_ptr<ModalSeen> dialog;
  AnswerStartWindow([&](Startup& start) {
    dialog = AnswerFileDialog(std::nullopt, [&] {
      AnswerStartWindow([&](Startup& again) {
        AnswerFileDialog(QString::fromStdString(path));
        again.Starter_Click(1);
      });
    });
    start.Starter_Click(1);
  });
  main.FirstActivation();
  EXPECT_EQ(dialog->title, "Select data file");
  EXPECT_EQ(dialog->text.toStdString(), SamplesFolder(home.Folder()));
  EXPECT_EQ(main.GetSession().project.currentFile, path);
}

// The dialog starts on both kinds of project, so a folder of them does not
// look empty, and the button's tip names the types that are read.
TEST(StartUpTest, OpenStoredProjectStartsOnTarnProjects) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  QStringList filters;
  QString selected;
  AnswerStartWindow([&](Startup& start) {
    EXPECT_EQ(start.Starter(1).toolTip(), "File types: CLD (Tarn projects), TRN (older Tarn projects)");
    AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
      filters = dialog.nameFilters();
      selected = dialog.selectedNameFilter();
      SaveScreenshot(dialog, "open_stored_project_dialog");
      AnswerStartWindow([](Startup& again) { ChooseQuit(again); });
      dialog.reject();
    });
    start.Starter_Click(1);
  });
  main.FirstActivation();
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_TRUE(filters.first().startsWith("Tarn projects ("));
  EXPECT_EQ(selected, filters.first());
  const QString patterns = selected.section(u'(', 1).chopped(1);
  for (const char* file : {"iron-hydroxide.cld", "OLD.TRN", "model.CLD", "old.trn"})
    EXPECT_TRUE(QDir::match(patterns.split(u' '), QString::fromLatin1(file))) << file;
  EXPECT_FALSE(QDir::match(patterns.split(u' '), QStringLiteral("notes.txt")));
}

TEST(StartUpTest, ShortNamesBoxSwitchesTheListAndIsSavedAndAKeyChooses) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  Startup start(main.GetSession());
  start.Shorty().click();
  EXPECT_EQ(main.GetSession().settings.shortnames, 0);
  EXPECT_EQ(start.RecentList().item(0)->text().toStdString(), main.GetSession().settings.recent(1));
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<shortnames>0</shortnames>"), std::string::npos);
  // A key other than the arrows chooses the selected row.
  start.RecentList().setCurrentRow(1);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier), enter(QEvent::KeyPress, Qt::Key_Return, {});
  QApplication::sendEvent(&start.RecentList(), &down);
  EXPECT_EQ(start.StartChoice(), kStartNone);
  QApplication::sendEvent(&start.RecentList(), &enter);
  EXPECT_EQ(start.StartChoice(), start.RecentIndexOfRow(start.RecentList().currentRow()));
  EXPECT_GT(start.StartChoice(), 0);
}

TEST(StartUpTest, CommandLineWithCallerAndQuotedPathShowsTheMessageThenOpensTheFile) {
  ProgramHome home;
  std::string path = home.Scratch("my data.cld");
  std::filesystem::copy_file(home.Sample("copper-ammonia.cld"), path);
  T32Main main(home.Folder());
  int nreagWhenAsked = -1;
  auto seen = AnswerMessageBox(QMessageBox::Ok, [&] { nreagWhenAsked = main.GetSession().project.nreag; });
  main.Load("\"" + path + "\" | Lab notebook");
  EXPECT_EQ(seen->title, "Opening Tarn");
  EXPECT_EQ(seen->text, "Called from Lab notebook\nClose Tarn to return to that program");
  EXPECT_EQ(nreagWhenAsked, 0);
  main.FirstActivation();  // no start window: the file opens
  EXPECT_EQ(main.GetSession().project.currentFile, path);
  EXPECT_GT(main.GetSession().project.nreag, 0);
  EXPECT_EQ(main.GetSession().settings.recent(1), path);
  EXPECT_EQ(main.GetSession().settings.readdir, FolderOf(path));
}

TEST(StartUpTest, CommandLineOldFormatFileIsReStoredAsAProjectFile) {
  ProgramHome home;
  std::string trn = home.Scratch("acetic.trn");
  WriteWholeFile(trn,
                 "Acetic acid\r\n    2    2    0    0\r\nreagent 1  L\r\nreagent 2  H\r\n      4.75    1    1\r\n"
                 "    -13.77    0   -1\r\n         1         0        .1        .1         3         9T\r\n"
                 "         1       -.1        .1        .1         3         9T\r\n        10        20         1\r\n");
  T32Main main(home.Folder());
  main.Load(trn);
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  main.FirstActivation();
  std::string restored = trn.substr(0, trn.size() - 3) + "CLD";
  const ProjectState& project = main.GetSession().project;
  EXPECT_EQ(seen->text.toStdString(),
            "The data will be re-stored in the file " + restored + "\n\nUse Save or Save As before exiting");
  EXPECT_EQ(project.currentFile, restored);
  EXPECT_TRUE(project.modified);
  EXPECT_DOUBLE_EQ(project.vfinal, 20);
  EXPECT_NE(main.GetSession().settings.recent(1), restored);  // not a file yet
  EXPECT_TRUE(main.FileSave_Click());
  EXPECT_TRUE(FileExists(restored));
  EXPECT_FALSE(project.modified);
  EXPECT_EQ(main.GetSession().settings.recent(1), restored);  // saved with Save, so it is listed
  EXPECT_EQ(ReadSettingsFile(SettingsPath(home.Folder()), {}).recent(1), restored);
}

// A file named on the command line entered the recent list and the title
// before it was read, so one that could not be opened stayed listed.
TEST(StartUpTest, FilesThatCouldNotBeOpenedStayOutOfTheRecentListAndTheTitle) {
  ProgramHome home;
  std::string notes = home.Scratch("notes.txt"), cut = home.Scratch("cut.cld");
  WriteWholeFile(notes, "not a project");
  const std::string sample = ReadWholeFile(home.Sample("iron-hydroxide.cld"));
  WriteWholeFile(cut, sample.substr(0, sample.size() / 2));
  for (const std::string& path : {notes, cut}) {
    T32Main main(home.Folder());
    main.Load(path);
    auto seen = AnswerMessageBox(QMessageBox::Ok, [] { AnswerStartWindow(ChooseQuit); });
    main.FirstActivation();
    EXPECT_TRUE(seen->text.contains(QString::fromStdString(path))) << seen->text.toStdString();
    EXPECT_EQ(main.windowTitle(), "Tarn2009");
    const Settings& settings = main.GetSession().settings;
    for (int i = 1; i <= kRecentCount; ++i) EXPECT_NE(settings.recent(i), path) << i;
    EXPECT_EQ(settings.readdir, FolderOf(path));  // the open dialog starts there all the same
  }
}

}  // namespace
}  // namespace tarn::gui
