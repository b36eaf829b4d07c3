// Starting the program: the first start in a fresh program folder, the start
// window's choices and the command line.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <filesystem>

#include "app/app_fixture.h"
#include "app/program_folder.h"
#include "app/recent_files.h"
#include "app/store_file.h"
#include "gui/app/program_start.h"
#include "model/message_sink.h"
#include "model/model.h"

namespace tarn::gui {
namespace {

using test::AnswerMessageBox;
using test::AnswerModal;
using test::AnswerStartWindow;
using test::ChooseQuit;
using test::ChooseRecent;
using test::ProgramHome;
using test::ReadWholeFile;

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// Answers the next message box with OK, keeping its text, and then runs next.
void AnswerMessageThen(QString& text, std::function<void()> next) {
  AnswerModal([&text, next = std::move(next)](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    next();
    box->button(QMessageBox::Ok)->click();
  });
}

TEST(StartUpTest, FirstStartMakesSettingsAndStoreAndListsTheSamples) {
  ProgramHome home;
  std::vector<std::string> samples = SampleFiles(home.Folder());
  ASSERT_FALSE(samples.empty());
  T32Main main(home.Folder());
  main.Load("");

  std::string ini = ReadWholeFile(SettingsPath(home.Folder()));
  std::string store = ReadWholeFile(StorePath(home.Folder()));
  EXPECT_EQ(ini.rfind("<Tarnini>", 0), 0u);
  const Settings& settings = main.GetSession().settings;
  std::vector<std::string> storedNames = RestorableNames(store);
  ASSERT_EQ(storedNames.size(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    EXPECT_EQ(settings.recent(static_cast<int>(i) + 1), samples[i]);
    EXPECT_NE(ini.find("<recent" + std::to_string(i + 1) + ">" + samples[i] + "</recent"), std::string::npos);
    EXPECT_EQ(storedNames[i], FileName(samples[i]));
  }
  EXPECT_EQ(settings.readdir, SamplesFolder(home.Folder()));
  EXPECT_EQ(settings.writedir, DataFolder(home.Folder()));
  EXPECT_TRUE(std::filesystem::is_directory(DataFolder(home.Folder())));
  // The preset entry 3 is the first start's point count.
  EXPECT_TRUE(main.Menus().points[3]->isChecked());
  EXPECT_EQ(main.GetSession().project.npoints, 101);

  int rows = -1;
  QString firstRow;
  AnswerStartWindow([&](Startup& start) {
    rows = start.RecentList().count();
    firstRow = start.RecentList().currentItem()->text();
    EXPECT_EQ(start.windowTitle(), "Starting Tarn");
    ChooseQuit(start);
  });
  main.FirstActivation();
  EXPECT_EQ(rows, static_cast<int>(samples.size()));
  EXPECT_EQ(firstRow.toStdString(), ShortName(samples[0], 1));
  EXPECT_TRUE(main.Ended());  // Quit ends the program without a prompt
}

TEST(StartUpTest, ADamagedSettingsFileStartsWithDefaults) {
  ProgramHome home;
  {
    T32Main first(home.Folder());
    first.Load("");
  }
  test::WriteWholeFile(SettingsPath(home.Folder()), "<Tarnini>\r\n<nsel>many</nsel>\r\n<screensize>99</scr");
  T32Main main(home.Folder());
  main.Load("");
  const Session& session = main.GetSession();
  EXPECT_EQ(session.settings.nsel, 3);
  EXPECT_EQ(session.project.npoints, 101);
  EXPECT_EQ(session.settings.screensize, 1);
  EXPECT_EQ(session.settings.readdir, SamplesFolder(home.Folder()));
  EXPECT_TRUE(main.Menus().sizes[1]->isChecked());
}

TEST(StartUpTest, ARecentSampleOpensWithItsPathInTheTitleAndAtTheTopOfTheList) {
  ProgramHome home;
  std::string path = home.Sample("phosphoric-acid.cld");
  auto main = test::OpenSample(home, "phosphoric-acid.cld");
  const ProjectState& project = main->GetSession().project;
  EXPECT_EQ(main->windowTitle().toStdString(), "Tarn2009: " + path);
  EXPECT_GT(project.nreag, 0);
  EXPECT_FALSE(project.modified);
  EXPECT_TRUE(project.recalc);
  EXPECT_EQ(main->GetSession().settings.recent(1), path);
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<recent1>" + path + "</recent1>"), std::string::npos);
  EXPECT_EQ(static_cast<int>(main->Menus().removeReagent.size()), project.nreag);
}

TEST(StartUpTest, AFileThatVanishedIsReportedAndTheStartWindowComesBack) {
  ProgramHome home;
  std::string path = home.Sample("calcium-edta.cld");
  T32Main main(home.Folder());
  main.Load("");
  QString message;
  bool startedAgain = false;
  AnswerStartWindow([&](Startup& start) {
    std::filesystem::remove(path);  // gone after the list was filled
    AnswerMessageThen(message, [&] {
      AnswerStartWindow([&](Startup& again) {
        startedAgain = true;
        EXPECT_EQ(again.RecentList().findItems(QStringLiteral("calcium-edta.cld"), Qt::MatchEndsWith).size(), 0);
        ChooseQuit(again);
      });
    });
    ChooseRecent(start, "calcium-edta.cld");
  });
  main.FirstActivation();
  EXPECT_EQ(message.toStdString(), "can't open " + path);
  EXPECT_TRUE(startedAgain);
  EXPECT_EQ(main.GetSession().project.nreag, 0);
}

TEST(StartUpTest, ARefusedFileIsReportedAndTheStartWindowComesBack) {
  ProgramHome home;
  std::string path = home.Scratch("absurd.cld");
  test::WriteWholeFile(path,
                       "<calvor><model><reagents><number>99999999</number></reagents></model>"
                       "<Tarn><type>0</type></Tarn></calvor>");
  T32Main main(home.Folder());
  main.Load(path);
  QString message;
  AnswerMessageThen(message, [] { AnswerStartWindow(ChooseQuit); });
  main.FirstActivation();
  EXPECT_EQ(message.toStdString(), kAbsurdCountsMessage);
  EXPECT_EQ(main.GetSession().project.nreag, 0);
  EXPECT_TRUE(main.Ended());
}

TEST(StartUpTest, AProgramFolderThatCannotBeMadeIsReported) {
  ProgramHome home;
  std::string notAFolder = home.Scratch("plain-file");
  test::WriteWholeFile(notAFolder, "x");
  qputenv("TARN_HOME", QByteArray::fromStdString(notAFolder + "/tarn"));
  RecordingSink sink;
  EXPECT_FALSE(OpenProgramFolder(TARN_DATA_DIR, sink).has_value());
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0], kNoProgramFolderMessage + notAFolder + "/tarn");
}

TEST(StartUpTest, OpenStoredProjectUsesTheDialogAndACancelReturnsToTheStartWindow) {
  ProgramHome home;
  std::string path = home.Sample("iron-hydroxide.cld");
  T32Main main(home.Folder());
  main.Load("");
  QString dialogTitle;
  AnswerStartWindow([&](Startup& start) {
    AnswerModal([&](QWidget* modal) {
      dialogTitle = modal->windowTitle();
      static_cast<QDialog*>(modal)->reject();
      AnswerStartWindow([&](Startup& again) {
        test::AnswerFileDialog(QString::fromStdString(path));
        again.Starter_Click(1);
      });
    });
    start.Starter_Click(1);
  });
  main.FirstActivation();
  EXPECT_EQ(dialogTitle, "Select data file");
  EXPECT_EQ(main.GetSession().project.currentFile, path);
  EXPECT_EQ(main.GetSession().settings.readdir, SamplesFolder(home.Folder()));
}

TEST(StartUpTest, ShortNamesBoxSwitchesTheListAndIsSaved) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  Startup start(main.GetSession());
  QString shortText = start.RecentList().item(0)->text();
  start.Shorty().click();
  EXPECT_EQ(main.GetSession().settings.shortnames, 0);
  EXPECT_EQ(start.RecentList().item(0)->text().toStdString(), main.GetSession().settings.recent(1));
  EXPECT_NE(start.RecentList().item(0)->text(), shortText);
  EXPECT_NE(ReadWholeFile(SettingsPath(home.Folder())).find("<shortnames>0</shortnames>"), std::string::npos);
  // A key other than the arrows chooses the selected row.
  start.RecentList().setCurrentRow(1);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
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
  QString title;
  QString text;
  AnswerModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    nreagWhenAsked = main.GetSession().project.nreag;
    box->button(QMessageBox::Ok)->click();
  });
  main.Load("\"" + path + "\" | Lab notebook");
  EXPECT_EQ(title, "Opening Tarn");
  EXPECT_EQ(text, "Called from Lab notebook\nClose Tarn to return to that program");
  EXPECT_EQ(nreagWhenAsked, 0);
  main.FirstActivation();  // no start window: the file opens
  const Session& session = main.GetSession();
  EXPECT_EQ(session.project.currentFile, path);
  EXPECT_GT(session.project.nreag, 0);
  EXPECT_EQ(session.settings.recent(1), path);
  EXPECT_EQ(session.settings.readdir, FolderOf(path));
}

TEST(StartUpTest, CommandLineOldFormatFileIsReStoredAsAProjectFile) {
  ProgramHome home;
  std::string trn = home.Scratch("acetic.trn");
  test::WriteWholeFile(trn,
                       "Acetic acid\r\n    2    2    0    0\r\nreagent 1  L\r\nreagent 2  H\r\n"
                       "      4.75    1    1\r\n    -13.77    0   -1\r\n"
                       "         1         0        .1        .1         3         9T\r\n"
                       "         1       -.1        .1        .1         3         9T\r\n"
                       "        10        20         1\r\n");
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
  EXPECT_EQ(project.nreag, 2);
  EXPECT_EQ(project.name(1), "L");
  EXPECT_DOUBLE_EQ(project.vfinal, 20);
  EXPECT_TRUE(main.FileSave_Click());
  EXPECT_TRUE(FileExists(restored));
  EXPECT_FALSE(project.modified);
}

}  // namespace
}  // namespace tarn::gui
