// Projects: save as and reopen, the save prompt at exit and restart, a failed
// save, new projects, restoring a damaged sample and the import window.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "app/app_fixture.h"
#include "app/program_folder.h"
#include "app/recent_files.h"
#include "gui/app/import_window.h"
#include "gui/app/new_project_window.h"
#include "gui/app/restore_window.h"
#include "gui/app/save_prompt.h"
#include "model/message_sink.h"
#include "model/model.h"
#include "model/project_file.h"

namespace tarn::gui {
namespace {

using test::AnswerFileDialog;
using test::AnswerMessageBox;
using test::AnswerModal;
using test::AnswerStartWindow;
using test::AnswerWindow;
using test::ChooseQuit;
using test::ChooseRecent;
using test::OpenSample;
using test::ProgramHome;
using test::ReadWholeFile;
using test::WriteWholeFile;

// The first log beta of the project stored at path.
double StoredLogBeta(const std::string& path) {
  ProjectState read;
  RecordingSink sink;
  EXPECT_EQ(ReadProjectText(read, ReadWholeFile(path), sink), ReadStatus::kOk) << path;
  return read.nspecies > 0 ? read.logbeta(1) : 0;
}

// An edit as the editor makes it.
void ChangeFirstLogBeta(ProjectState& project, double value) {
  project.logbeta(1) = value;
  project.modified = true;
  project.recalc = true;
}

TEST(ProjectTest, SaveAsThenReopenGivesTheSavedProject) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ChangeFirstLogBeta(main->GetSession().project, 12.5);
  std::string copy = home.Scratch("acid copy.cld");
  QString title;
  AnswerModal([&](QWidget* modal) {
    title = modal->windowTitle();
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    test::ChooseFile(*dialog, QString::fromStdString(copy));
  });
  EXPECT_TRUE(main->SaveAs_Click());
  QApplication::processEvents();
  const Session& session = main->GetSession();
  EXPECT_EQ(title, "Save Tarn file as");
  EXPECT_EQ(session.project.currentFile, copy);
  EXPECT_FALSE(session.project.modified);
  EXPECT_EQ(session.settings.writedir, FolderOf(copy));
  EXPECT_EQ(session.settings.recent(1), copy);
  EXPECT_EQ(main->windowTitle().toStdString(), "Tarn2009: " + copy);
  EXPECT_FLOAT_EQ(static_cast<float>(StoredLogBeta(copy)), 12.5f);
  EXPECT_NE(StoredLogBeta(home.Sample("phosphoric-acid.cld")), 12.5);  // the sample is untouched

  ChangeFirstLogBeta(main->GetSession().project, 1);
  main->GetSession().project.modified = false;  // as if never edited: restart asks nothing
  AnswerStartWindow([](Startup& start) { ChooseRecent(start, "acid copy.cld"); });
  main->FileRestart_Click();
  EXPECT_EQ(session.project.currentFile, copy);
  EXPECT_FLOAT_EQ(static_cast<float>(session.project.logbeta(1)), 12.5f);
}

TEST(ProjectTest, SaveAsWithoutExtensionSavesAProjectFile) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  AnswerFileDialog(QString::fromStdString(home.Scratch("plain")));
  EXPECT_TRUE(main->SaveAs_Click());
  EXPECT_EQ(main->GetSession().project.currentFile, home.Scratch("plain.cld"));
  EXPECT_TRUE(FileExists(home.Scratch("plain.cld")));
}

struct PromptRun {
  QStringList captions;
  QString fileName;
};

// Closes the main window, answering the save prompt with button index; the
// answer also runs then() after the button was pressed.
PromptRun CloseWithPrompt(T32Main& main, int index, std::function<void()> then = {}) {
  PromptRun run;
  AnswerWindow<Saver>([&run, index, then](Saver& saver) {
    for (int i = 0; i < 4; ++i) run.captions << saver.Commands(i).text();
    run.fileName = saver.OldFileName().text();
    if (then) then();
    saver.Commands(index).click();
  });
  main.close();
  return run;
}

TEST(ProjectTest, ExitPromptReturnKeepsEverythingRunningAndUnchanged) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  std::string path = home.Sample("copper-glycine-titration.cld");
  std::string before = ReadWholeFile(path);
  main->calc_Click(1);
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  PromptRun run = CloseWithPrompt(*main, kSaveReturn);
  EXPECT_EQ(run.captions, QStringList({"&Overwrite", "Save &As", "&Return to Tarn", "E&xit"}));
  EXPECT_EQ(run.fileName.toStdString(), path);
  EXPECT_FALSE(main->Ended());
  EXPECT_TRUE(main->GetSession().project.modified);
  EXPECT_DOUBLE_EQ(main->GetSession().project.logbeta(1), 9.25);
  EXPECT_TRUE(main->Children().IsOpen(kTableWindow));
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(ProjectTest, ExitPromptOverwriteSavesAndExits) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  CloseWithPrompt(*main, kSaveOverwrite);
  EXPECT_TRUE(main->Ended());
  EXPECT_FLOAT_EQ(static_cast<float>(StoredLogBeta(home.Sample("copper-glycine-titration.cld"))), 9.25f);
}

TEST(ProjectTest, ExitPromptSaveAsSavesUnderTheNewNameAndExits) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  std::string before = ReadWholeFile(home.Sample("copper-glycine-titration.cld"));
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  std::string copy = home.Scratch("glycine.cld");
  CloseWithPrompt(*main, kSaveAs, [&] { AnswerFileDialog(QString::fromStdString(copy)); });
  EXPECT_TRUE(main->Ended());
  EXPECT_FLOAT_EQ(static_cast<float>(StoredLogBeta(copy)), 9.25f);
  EXPECT_EQ(ReadWholeFile(home.Sample("copper-glycine-titration.cld")), before);
}

TEST(ProjectTest, ExitPromptSaveAsCancelledKeepsTheWork) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  CloseWithPrompt(*main, kSaveAs, [] { AnswerFileDialog(std::nullopt); });
  EXPECT_FALSE(main->Ended());
  EXPECT_TRUE(main->GetSession().project.modified);
}

TEST(ProjectTest, ExitPromptExitLeavesTheFileAsItWas) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  std::string before = ReadWholeFile(home.Sample("copper-glycine-titration.cld"));
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  CloseWithPrompt(*main, kSaveLeave);
  EXPECT_TRUE(main->Ended());
  EXPECT_EQ(ReadWholeFile(home.Sample("copper-glycine-titration.cld")), before);
}

TEST(ProjectTest, RestartPromptSaysRestartAndShowsTheStartWindow) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  main->calc_Click(1);
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  QString restartCaption;
  bool started = false;
  AnswerWindow<Saver>([&](Saver& saver) {
    restartCaption = saver.Commands(kSaveLeave).text();
    AnswerStartWindow([&](Startup& start) {
      started = true;
      ChooseRecent(start, "iron-hydroxide.cld");
    });
    saver.Commands(kSaveLeave).click();
  });
  main->FileRestart_Click();
  EXPECT_EQ(restartCaption, "Restart");
  EXPECT_TRUE(started);
  EXPECT_FALSE(main->Children().IsOpen(kTableWindow));
  EXPECT_EQ(main->GetSession().project.currentFile, home.Sample("iron-hydroxide.cld"));
  EXPECT_FALSE(main->GetSession().project.modified);
}

TEST(ProjectTest, AFailedSaveKeepsTheWorkAndTheExitWaits) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ProjectState& project = main->GetSession().project;
  ChangeFirstLogBeta(project, 3.5);
  std::string notAFolder = home.Scratch("notes.txt");
  WriteWholeFile(notAFolder, "a file, not a folder");
  project.currentFile = notAFolder + "/acid.cld";
  auto seen = AnswerMessageBox(QMessageBox::Ok);
  EXPECT_FALSE(main->FileSave_Click());
  EXPECT_TRUE(seen->text.startsWith(QString::fromStdString("can't save " + project.currentFile)));
  EXPECT_TRUE(project.modified);

  PromptRun run = CloseWithPrompt(*main, kSaveOverwrite, [] { AnswerMessageBox(QMessageBox::Ok); });
  EXPECT_EQ(run.captions.front(), "&Save");  // the file does not exist
  EXPECT_FALSE(main->Ended());
  EXPECT_TRUE(project.modified);
  EXPECT_EQ(ReadWholeFile(notAFolder), "a file, not a folder");
}

struct NewProjectRun {
  QString refusal;
  QString refusalTitle;
  QString saveTitle;
};

// Creates a project through the start window's "Open New project"; the title
// is first left at "???" to see the refusal. The save dialog is cancelled
// (saveAs empty) or answered with saveAs.
NewProjectRun CreateProject(T32Main& main, const QString& title, int reagents, int choice, bool proton,
                            const std::string& saveAs) {
  NewProjectRun run;
  AnswerStartWindow([&](Startup& start) {
    AnswerWindow<NewMod>([&](NewMod& newMod) {
      EXPECT_EQ(newMod.TitleBox().text(), "???");
      EXPECT_EQ(newMod.Mr().count(), 998);
      AnswerModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        run.refusal = box->text();
        run.refusalTitle = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
      });
      newMod.Quit_Click(kNewProjectAccepted);
      EXPECT_TRUE(newMod.isVisible());
      newMod.TitleBox().setText(title);
      newMod.Mr().setCurrentRow(reagents - 2);
      newMod.Choice(choice).setChecked(true);
      newMod.ProtonPresent().setChecked(proton);
      AnswerModal([&](QWidget* modal) {
        run.saveTitle = modal->windowTitle();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (saveAs.empty()) return dialog->reject();
        test::ChooseFile(*dialog, QString::fromStdString(saveAs));
      });
      newMod.Quit_Click(kNewProjectAccepted);
    });
    start.Starter_Click(2);
  });
  main.FirstActivation();
  return run;
}

TEST(ProjectTest, NewTitrationWithProtonNamedCuGlycine) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  NewProjectRun run = CreateProject(main, "Cu-glycine", 3, 0, true, "");
  EXPECT_EQ(run.refusal, "Please enter a project title\nIt will also be the default name for the CLD file");
  EXPECT_EQ(run.refusalTitle, "Saving new project");
  EXPECT_EQ(run.saveTitle, "Save Tarn file as");
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.currentFile, DataFolder(home.Folder()) + "/Cu-glycine.cld");
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(p.type, kTitration);
  ASSERT_EQ(p.nreag, 3);
  EXPECT_EQ(p.name(1), "A");
  EXPECT_EQ(p.name(2), "B");
  EXPECT_EQ(p.name(3), "H");
  ASSERT_EQ(p.nspecies, 2);
  EXPECT_EQ(SpeciesFormula(p, 1), "ABH");
  EXPECT_EQ(SpeciesFormula(p, 2), "H-1");
  EXPECT_FLOAT_EQ(static_cast<float>(p.logbeta(2)), -13.77f);
  EXPECT_FLOAT_EQ(static_cast<float>(p.burette(3, kTitration)), -0.1f);
  EXPECT_TRUE(main.Menus().calc[2]->isEnabled());
  EXPECT_EQ(main.Menus().removeReagent.size(), 3u);
  // The new project calculates at once.
  main.calc_Click(1);
  EXPECT_TRUE(main.Children().IsOpen(kTableWindow));
  // Save writes it where its name says.
  EXPECT_TRUE(main.FileSave_Click());
  EXPECT_TRUE(FileExists(p.currentFile));
}

TEST(ProjectTest, NewSimulationWithTwoReagentsSavedAs) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  std::string path = home.Scratch("two.cld");
  CreateProject(main, "Two", 2, 1, false, path);
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.type, kDistribution);
  ASSERT_EQ(p.nspecies, 1);
  EXPECT_EQ(SpeciesFormula(p, 1), "AB");
  EXPECT_DOUBLE_EQ(p.logbeta(1), 0);
  EXPECT_EQ(p.currentFile, path);
  EXPECT_FALSE(p.modified);
  EXPECT_EQ(main.GetSession().settings.recent(1), path);
  EXPECT_FALSE(main.Menus().calc[2]->isEnabled());
}

TEST(ProjectTest, CancelledNewProjectReturnsToTheStartWindow) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  bool startedAgain = false;
  AnswerStartWindow([&](Startup& start) {
    AnswerWindow<NewMod>([&](NewMod& newMod) {
      AnswerStartWindow([&](Startup& again) {
        startedAgain = true;
        ChooseQuit(again);
      });
      newMod.Quit_Click(kNewProjectCancelled);
    });
    start.Starter_Click(2);
  });
  main.FirstActivation();
  EXPECT_TRUE(startedAgain);
  EXPECT_EQ(main.GetSession().project.nreag, 0);
  EXPECT_TRUE(main.Ended());
}

TEST(ProjectTest, RestoreRewritesADamagedSampleFromTheStore) {
  ProgramHome home;
  std::string name = "calcium-carbonate.cld";
  std::string original = ReadWholeFile(std::string(TARN_DATA_DIR) + "/samples/" + name);
  T32Main main(home.Folder());
  main.Load("");  // the store is made from the intact samples
  WriteWholeFile(home.Sample(name), "<calvor><model><reagents><number>99999999");
  QStringList listed;
  QString message;
  AnswerStartWindow([&](Startup& start) {
    AnswerWindow<Restore>([&](Restore& restore) {
      EXPECT_EQ(restore.windowTitle(), "Restore sample data files");
      for (int row = 0; row < restore.ListBox().count(); ++row) {
        QListWidgetItem* item = restore.ListBox().item(row);
        listed << item->text();
        if (item->text().toStdString() == name) item->setCheckState(Qt::Checked);
      }
      AnswerModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        message = box->text();
        box->button(QMessageBox::Ok)->click();
      });
      restore.GetBack_Click();
    });
    start.Starter_Click(3);
    EXPECT_TRUE(start.isVisible());  // the start window stays
    ChooseRecent(start, name);
  });
  main.FirstActivation();
  EXPECT_EQ(listed.size(), static_cast<int>(SampleFiles(home.Folder()).size()));
  EXPECT_EQ(message.toStdString(), "Files\n" + name + "\nhave been restored to the original state");
  EXPECT_EQ(ReadWholeFile(home.Sample(name)), original);
  EXPECT_EQ(main.GetSession().project.currentFile, home.Sample(name));
  EXPECT_GT(main.GetSession().project.nreag, 0);
}

// A model of the fitting program alone: acetic acid, no Tarn section.
constexpr const char* kModelOnly =
    "<calvor>\r\n<model>\r\n<title>Acetic acid model</title>\r\n<maxit>25</maxit>\r\n<mode>0</mode>\r\n"
    "<excessive>.33</excessive>\r\n<reagents>\r\n<number>2</number>\r\n<name1>L</name1>\r\n<name2>H</name2>\r\n"
    "</reagents>\r\n<betas>\r\n<number>2</number>\r\n"
    "<b1><value>4.75</value><a1>1</a1><a2>1</a2><refine>0</refine></b1>\r\n"
    "<b2><value>-13.77</value><a1>0</a1><a2>-1</a2><refine>0</refine></b2>\r\n</betas>\r\n</model>\r\n</calvor>\r\n";

// An old-format file with the given reagents' condition rows: a titration
// from 20 to 25 mL.
std::string OldFile(int reagents) {
  std::string text = "Old acetic acid\r\n    " + std::to_string(reagents) + "    2    0    0\r\n";
  for (int j = 1; j <= reagents; ++j) text += "reagent " + std::to_string(j) + "  R" + std::to_string(j) + "\r\n";
  text += "      4.75    1    1\r\n    -13.77    0   -1\r\n";
  for (int j = 1; j <= reagents; ++j) text += "         2     -0.05        .1        .1         4        10T\r\n";
  return text + "        20        25         1\r\n";
}

struct ImportRun {
  QString shownName;
  QString dialogTitle;
  QString message;
};

// Starts the program with the model-only file on the command line and
// answers the import window with choice; with choice 1 the import dialog gets
// trnPath, which may be refused with a message.
ImportRun StartWithModelOnly(T32Main& main, const std::string& cldPath, int choice, const std::string& trnPath,
                             bool refused = false) {
  ImportRun run;
  AnswerWindow<Importing>([&](Importing& importing) {
    run.shownName = importing.ImportFile().text();
    if (choice == kImportFromTrn) {
      AnswerModal([&](QWidget* modal) {
        run.dialogTitle = modal->windowTitle();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (refused) {
          AnswerModal([&](QWidget* next) {
            auto* box = qobject_cast<QMessageBox*>(next);
            ASSERT_NE(box, nullptr);
            run.message = box->text();
            box->button(QMessageBox::Ok)->click();
          });
        }
        test::ChooseFile(*dialog, QString::fromStdString(trnPath));
      });
    }
    if (choice == kImportQuit) AnswerStartWindow(ChooseQuit);
    importing.ImportOptions(choice).setChecked(true);
    importing.Command1().click();
  });
  main.Load(cldPath);
  main.FirstActivation();
  return run;
}

TEST(ProjectTest, ImportWindowNewDataGivesTheDefaultConditions) {
  ProgramHome home;
  std::string path = home.Scratch("acetic-model.cld");
  WriteWholeFile(path, kModelOnly);
  T32Main main(home.Folder());
  ImportRun run = StartWithModelOnly(main, path, kImportNewData, "");
  EXPECT_EQ(run.shownName.toStdString(), ShortName(path, 1));
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.currentFile, path);
  EXPECT_EQ(p.nreag, 2);
  EXPECT_FLOAT_EQ(static_cast<float>(p.logbeta(1)), 4.75f);
  EXPECT_EQ(p.type, kDistribution);
  EXPECT_DOUBLE_EQ(p.volume[0], 10);
  EXPECT_DOUBLE_EQ(p.vfinal, 12);
  EXPECT_DOUBLE_EQ(p.volume[1], 1);
  EXPECT_DOUBLE_EQ(p.pxi(1, kDistribution), 3);
  EXPECT_DOUBLE_EQ(p.pxf(2, kDistribution), 9);
  EXPECT_TRUE(p.flag(2, kDistribution));
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(main.GetSession().settings.recent(1), path);
}

TEST(ProjectTest, ImportWindowTakesConditionsFromAnOldFile) {
  ProgramHome home;
  std::string path = home.Scratch("acetic-model.cld");
  std::string trn = home.Scratch("acetic.trn");
  WriteWholeFile(path, kModelOnly);
  WriteWholeFile(trn, OldFile(2));
  T32Main main(home.Folder());
  ImportRun run = StartWithModelOnly(main, path, kImportFromTrn, trn);
  EXPECT_EQ(run.dialogTitle, "Add data from Tarn file");
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.name(1), "L");  // the model stays the file's
  EXPECT_EQ(p.type, kTitration);
  EXPECT_DOUBLE_EQ(p.volume[0], 20);
  EXPECT_DOUBLE_EQ(p.vfinal, 25);
  EXPECT_FLOAT_EQ(static_cast<float>(p.burette(2, kTitration)), -0.05f);
  EXPECT_TRUE(p.modified);
}

TEST(ProjectTest, ImportWindowRefusedOldFileFallsBackToTheDefaults) {
  ProgramHome home;
  std::string path = home.Scratch("acetic-model.cld");
  std::string trn = home.Scratch("three.trn");
  WriteWholeFile(path, kModelOnly);
  WriteWholeFile(trn, OldFile(3));
  T32Main main(home.Folder());
  ImportRun run = StartWithModelOnly(main, path, kImportFromTrn, trn, true);
  EXPECT_EQ(run.message, "Inconsistent number of reagents");
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.nreag, 2);
  EXPECT_DOUBLE_EQ(p.volume[0], 10);
  EXPECT_DOUBLE_EQ(p.pxi(1, kDistribution), 3);
}

TEST(ProjectTest, ImportWindowQuitImportsNothingAndShowsTheStartWindow) {
  ProgramHome home;
  std::string path = home.Scratch("acetic-model.cld");
  WriteWholeFile(path, kModelOnly);
  T32Main main(home.Folder());
  StartWithModelOnly(main, path, kImportQuit, "");
  EXPECT_EQ(main.GetSession().project.nreag, 0);
  EXPECT_TRUE(main.Ended());
}

}  // namespace
}  // namespace tarn::gui
