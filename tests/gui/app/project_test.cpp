// Projects: save as and reopen, the save prompt at exit and restart, a failed
// save, new projects, restoring a damaged sample and the import window.

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "core/app/program_folder.h"
#include "core/app/project_open.h"
#include "core/app/recent_files.h"
#include "gui/app/import_window.h"
#include "gui/app/new_project_window.h"
#include "gui/app/restore_window.h"
#include "gui/app/save_prompt.h"
#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"
#include "core/model/save_file.h"
#include "support/gui/app_fixture.h"

namespace tarn::gui {
namespace {

using namespace test;

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
  project.modified = project.recalc = true;
}

TEST(ProjectTest, SaveAsThenReopenGivesTheSavedProject) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ChangeFirstLogBeta(main->GetSession().project, 12.5);
  std::string copy = home.Scratch("acid copy.cld");
  auto dialog = AnswerFileDialog(QString::fromStdString(copy));
  EXPECT_TRUE(main->SaveAs_Click());
  const Session& session = main->GetSession();
  EXPECT_EQ(dialog->title, "Save Tarn file as");
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

  AnswerFileDialog(QString::fromStdString(home.Scratch("plain")));  // no extension: a project file
  EXPECT_TRUE(main->SaveAs_Click());
  EXPECT_EQ(session.project.currentFile, home.Scratch("plain.cld"));
  EXPECT_TRUE(FileExists(home.Scratch("plain.cld")));
}

TEST(ProjectTest, ExitPromptButtons) {
  struct Case {
    int button;
    const char* saveAs;  // the save dialog's answer to Save As; nullptr: cancel
    bool ended;
  };
  for (const Case& c :
       {Case{kSaveReturn, nullptr, false}, Case{kSaveOverwrite, nullptr, true}, Case{kSaveAs, "glycine.cld", true},
        Case{kSaveAs, nullptr, false}, Case{kSaveLeave, nullptr, true}}) {
    SCOPED_TRACE(c.button);
    ProgramHome home;
    const std::string path = home.Sample("copper-glycine-titration.cld");
    const std::string before = ReadWholeFile(path);
    auto main = OpenSample(home, "copper-glycine-titration.cld");
    main->calc_Click(kCalcTable);
    ChangeFirstLogBeta(main->GetSession().project, 9.25);
    QStringList captions;
    AnswerWindow<Saver>([&](Saver& saver) {
      for (int i = 0; i < 4; ++i) captions << saver.Commands(i).text();
      EXPECT_EQ(saver.OldFileName().text().toStdString(), path);
      if (c.button == kSaveAs) {
        AnswerFileDialog(c.saveAs ? std::optional(QString::fromStdString(home.Scratch(c.saveAs))) : std::nullopt);
      }
      saver.Commands(c.button).click();
    });
    main->close();
    EXPECT_EQ(captions, QStringList({"&Overwrite", "Save &As", "&Return to Tarn", "E&xit"}));
    EXPECT_EQ(main->Ended(), c.ended);
    if (c.button == kSaveOverwrite) {
      EXPECT_FLOAT_EQ(static_cast<float>(StoredLogBeta(path)), 9.25f);
    } else {
      EXPECT_EQ(ReadWholeFile(path), before);
    }
    if (c.saveAs) {
      EXPECT_FLOAT_EQ(static_cast<float>(StoredLogBeta(home.Scratch(c.saveAs))), 9.25f);
    }
    if (!c.ended) {  // the work is kept, the table open
      EXPECT_TRUE(main->GetSession().project.modified);
      EXPECT_DOUBLE_EQ(main->GetSession().project.logbeta(1), 9.25);
      EXPECT_TRUE(main->Children().IsOpen(kTableWindow));
    }
  }
}

TEST(ProjectTest, RestartPromptSaysRestartAndShowsTheStartWindow) {
  ProgramHome home;
  auto main = OpenSample(home, "copper-glycine-titration.cld");
  main->calc_Click(kCalcTable);
  ChangeFirstLogBeta(main->GetSession().project, 9.25);
  QString restartCaption;
  AnswerWindow<Saver>([&](Saver& saver) {
    restartCaption = saver.Commands(kSaveLeave).text();
    AnswerStartWindow([&](Startup& start) { ChooseRecent(start, "iron-hydroxide.cld"); });
    saver.Commands(kSaveLeave).click();
  });
  main->FileRestart_Click();
  EXPECT_EQ(restartCaption, "Restart");
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
  EXPECT_EQ(seen->text.toStdString(), "can't save " + project.currentFile + "\ntry saving with another name");
  EXPECT_TRUE(project.modified);

  QString first;
  AnswerWindow<Saver>([&](Saver& saver) {
    first = saver.Commands(kSaveOverwrite).text();
    AnswerMessageBox(QMessageBox::Ok);
    saver.Commands(kSaveOverwrite).click();
  });
  main->close();
  EXPECT_EQ(first, "&Save");  // the file does not exist
  EXPECT_FALSE(main->Ended());
  EXPECT_TRUE(project.modified);
  EXPECT_EQ(ReadWholeFile(notAFolder), "a file, not a folder");
}

// A model of the fitting program alone: acetic acid, no Tarn section.
constexpr const char* kModelOnly =
    "<calvor>\r\n<model>\r\n<title>Acetic acid model</title>\r\n<reagents>\r\n<number>2</number>\r\n"
    "<name1>L</name1>\r\n<name2>H</name2>\r\n</reagents>\r\n<betas>\r\n<number>2</number>\r\n"
    "<b1><value>4.75</value><a1>1</a1><a2>1</a2><refine>0</refine></b1>\r\n"
    "<b2><value>-13.77</value><a1>0</a1><a2>-1</a2><refine>0</refine></b2>\r\n</betas>\r\n</model>\r\n</calvor>\r\n";

// A full disk (injected: a test cannot fill one) or a read-only file: the
// "can't save" message, the old file as it was, the work still unsaved.
TEST(ProjectTest, AFullDiskOrAReadOnlyFileCannotBeSavedOver) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  ProjectState& project = main->GetSession().project;
  const std::string path = project.currentFile, before = ReadWholeFile(path);
  ChangeFirstLogBeta(project, 3.5);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::optional<InjectedSaveFault> fullDisk;
    if (attempt == 0)
      fullDisk.emplace(SaveStep::kWrite, ENOSPC);
    else
      std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    auto seen = AnswerMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(main->FileSave_Click());
    EXPECT_EQ(seen->text.toStdString(), "can't save " + path + "\ntry saving with another name");
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_TRUE(project.modified);
  }
}

// A file cut short, or of other bytes, once came in as a model without Tarn
// data: the import window, defaults over the open project, Overwrite offered
// at exit. It is refused; the open project, its unsaved work, the recent
// list and the title stay as they were.
TEST(ProjectTest, ADamagedFileIsRefusedAndTheOpenProjectStays) {
  ProgramHome home;
  auto main = OpenSample(home, "phosphoric-acid.cld");
  Session& session = main->GetSession();
  ChangeFirstLogBeta(session.project, 3.5);
  const std::string text = ProjectText(session.project), title = main->windowTitle().toStdString();
  const std::string sample = ReadWholeFile(home.Sample("calcium-edta.cld"));
  WriteWholeFile(home.Scratch("cut.cld"), sample.substr(0, sample.find("</Tarn>")));
  WriteWholeFile(home.Scratch("picture.cld"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01", 19));
  for (const char* name : {"cut.cld", "picture.cld"}) {
    const Settings before = session.settings;
    AnswerFileDialog(QString::fromStdString(home.Scratch(name)));
    auto seen = AnswerMessageBox(QMessageBox::Ok);
    EXPECT_FALSE(main->StartAction(kStartOpenFile));
    EXPECT_EQ(seen->text.toStdString(), home.Scratch(name) + " is damaged or not a Tarn project file");
    EXPECT_EQ(ProjectText(session.project), text);
    EXPECT_TRUE(session.project.modified);
    EXPECT_EQ(main->windowTitle().toStdString(), title);
    for (int i = 1; i <= kRecentCount; ++i) EXPECT_EQ(session.settings.recent(i), before.recent(i)) << i;
  }
}

// A model-only file whose model cannot be read: the import window, then the
// refusal, and the open project as it was (its solids and single points were
// once emptied before the read was refused).
TEST(ProjectTest, ARefusedModelOnlyImportLeavesTheOpenProject) {
  for (const char* open : {"calcium-carbonate.cld", "calcium-edta.cld"}) {
    ProgramHome home;
    auto main = OpenSample(home, open);
    const ProjectState& project = main->GetSession().project;
    const std::string text = ProjectText(project);
    ASSERT_GT(project.nsolids + project.nsingle, 0);
    std::string modelOnly = kModelOnly;
    modelOnly.replace(modelOnly.find("<number>2</number>"), 18, "<number>99999</number>");
    WriteWholeFile(home.Scratch("huge-model.cld"), modelOnly);
    AnswerFileDialog(QString::fromStdString(home.Scratch("huge-model.cld")), [] {
      AnswerWindow<Importing>([](Importing& importing) {
        AnswerMessageBox(QMessageBox::Ok);
        importing.ImportOptions(kImportNewData).setChecked(true);
        importing.Command1().click();
      });
    });
    EXPECT_FALSE(main->StartAction(kStartOpenFile));
    EXPECT_EQ(ProjectText(project), text) << open;
    EXPECT_FALSE(project.modified);
  }
}

// Creates a project through the start window's "Open New project": the
// title is first left at "???" to see the refusal; the save dialog is
// cancelled (saveAs empty) or answered with saveAs. Returns the refusal.
std::shared_ptr<ModalSeen> CreateProject(T32Main& main, const QString& title, int reagents, int choice, bool proton,
                                         const std::string& saveAs) {
  std::shared_ptr<ModalSeen> refusal, dialog;
  AnswerStartWindow([&](Startup& start) {
    AnswerWindow<NewMod>([&](NewMod& newMod) {
      EXPECT_EQ(newMod.TitleBox().text(), "???");
      // The title box has the focus and its "???" is selected: typing replaces it.
      ASSERT_TRUE(QTest::qWaitForWindowActive(&newMod));
      ASSERT_EQ(QApplication::focusWidget(), &newMod.TitleBox());
      EXPECT_EQ(newMod.TitleBox().selectedText(), "???");
      QTest::keyClicks(QApplication::focusWidget(), "test2");
      EXPECT_EQ(newMod.TitleBox().text(), "test2");
      newMod.TitleBox().setText("???");
      EXPECT_EQ(newMod.Mr().count(), 998);  // 2 to 999 reagents
      refusal = AnswerMessageBox(QMessageBox::Ok);
      newMod.Quit_Click(kNewProjectAccepted);
      EXPECT_TRUE(newMod.isVisible());
      newMod.TitleBox().setText(title);
      newMod.Mr().setCurrentRow(reagents - 2);
      newMod.Choice(choice).setChecked(true);
      newMod.ProtonPresent().setChecked(proton);
      dialog = AnswerFileDialog(saveAs.empty() ? std::nullopt : std::optional(QString::fromStdString(saveAs)));
      newMod.Quit_Click(kNewProjectAccepted);
    });
    start.Starter_Click(2);
  });
  main.FirstActivation();
  EXPECT_EQ(dialog->title, "Save Tarn file as");
  return refusal;
}

TEST(ProjectTest, NewProjectsFromTheStartWindow) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  auto refusal = CreateProject(main, "Cu-glycine", 3, 0, true, "");
  EXPECT_EQ(refusal->text, "Please enter a project title\nIt will also be the default name for the CLD file");
  EXPECT_EQ(refusal->title, "Saving new project");
  const ProjectState& p = main.GetSession().project;
  // The save dialog was cancelled: the project keeps the name its title gives.
  EXPECT_EQ(p.currentFile, DataFolder(home.Folder()) + "/Cu-glycine.cld");
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(p.type, kTitration);
  EXPECT_EQ(p.nreag, 3);
  EXPECT_EQ(p.proton, 3);
  EXPECT_TRUE(main.Menus().calc[2]->isEnabled());
  EXPECT_EQ(main.Menus().removeReagent.size(), 3u);
  main.calc_Click(kCalcTable);  // the new project calculates at once
  EXPECT_TRUE(main.Children().IsOpen(kTableWindow));
  EXPECT_TRUE(main.FileSave_Click());
  EXPECT_TRUE(FileExists(p.currentFile));

  T32Main second(home.Folder());
  second.Load("");
  std::string path = home.Scratch("two.cld");
  CreateProject(second, "Two", 2, 1, false, path);
  const ProjectState& q = second.GetSession().project;
  EXPECT_EQ(q.type, kDistribution);
  EXPECT_EQ(q.nreag, 2);
  EXPECT_EQ(q.proton, 0);
  EXPECT_EQ(q.currentFile, path);
  EXPECT_FALSE(q.modified);
  EXPECT_EQ(second.GetSession().settings.recent(1), path);
  EXPECT_FALSE(second.Menus().calc[2]->isEnabled());
  second.calc_Click(kCalcPlot);  // a distribution without a proton calculates at once too
  EXPECT_EQ(second.GetSession().results.ifail, kSuccess);
  EXPECT_TRUE(second.Children().IsOpen(kPlotWindow));
  SaveScreenshot(second, "new_project_distribution_plot");
}

// A new project whose Save As was cancelled, then saved through the save
// prompt at exit (after a Save As cancelled there too): the file it became
// is in the recent list.
TEST(ProjectTest, AProjectSavedThroughTheSavePromptEntersTheRecentList) {
  ProgramHome home;
  T32Main main(home.Folder());
  main.Load("");
  CreateProject(main, "Cu-glycine", 3, 0, true, "");
  const std::string path = main.GetSession().project.currentFile;
  EXPECT_NE(main.GetSession().settings.recent(1), path);
  for (int button : {kSaveAs, kSaveOverwrite}) {
    AnswerWindow<Saver>([&](Saver& saver) {
      if (button == kSaveAs) AnswerFileDialog(std::nullopt);
      saver.Commands(button).click();
    });
    main.close();
  }
  EXPECT_TRUE(main.Ended());
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(main.GetSession().settings.recent(1), path);
  EXPECT_EQ(ReadSettingsFile(SettingsPath(home.Folder()), {}).recent(1), path);
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
}

TEST(ProjectTest, RestoreRewritesADamagedSampleFromTheStore) {
  ProgramHome home;
  std::string name = "calcium-carbonate.cld";
  std::string original = ReadWholeFile(home.Sample(name));
  T32Main main(home.Folder());
  main.Load("");  // the store is made from the intact samples
  WriteWholeFile(home.Sample(name), "<calvor><model><reagents><number>99999999");
  int listed = 0;
  std::shared_ptr<ModalSeen> message;
  AnswerStartWindow([&](Startup& start) {
    AnswerWindow<Restore>([&](Restore& restore) {
      EXPECT_EQ(restore.windowTitle(), "Restore sample data files");
      listed = restore.ListBox().count();
      for (QListWidgetItem* item : restore.ListBox().findItems(QString::fromStdString(name), Qt::MatchExactly))
        item->setCheckState(Qt::Checked);
      message = AnswerMessageBox(QMessageBox::Ok);
      restore.GetBack_Click();
    });
    start.Starter_Click(3);
    EXPECT_TRUE(start.isVisible());  // the start window stays
    ChooseRecent(start, name);
  });
  main.FirstActivation();
  EXPECT_EQ(listed, static_cast<int>(SampleFiles(home.Folder()).size()));
  EXPECT_EQ(message->text.toStdString(), "Files\n" + name + "\nhave been restored to the original state");
  EXPECT_EQ(ReadWholeFile(home.Sample(name)), original);
  EXPECT_EQ(main.GetSession().project.currentFile, home.Sample(name));
  EXPECT_GT(main.GetSession().project.nreag, 0);
}

// An old-format file with the given number of reagents: a titration from 20 to 25 mL.
std::string OldFile(int reagents) {
  std::string text = "Old acetic acid\r\n    " + std::to_string(reagents) + "    2    0    0\r\n";
  for (int j = 1; j <= reagents; ++j) text += "reagent " + std::to_string(j) + "  R" + std::to_string(j) + "\r\n";
  text += "      4.75    1    1\r\n    -13.77    0   -1\r\n";
  for (int j = 1; j <= reagents; ++j) text += "         2     -0.05        .1        .1         4        10T\r\n";
  return text + "        20        25         1\r\n";
}

// Starts the program with the model-only file on the command line and answers
// the import window with choice; with kImportFromTrn the import dialog gets
// an old file of trnReagents reagents, whose refusal message is returned.
std::shared_ptr<ModalSeen> StartWithModelOnly(const ProgramHome& home, T32Main& main, int choice, int trnReagents = 2) {
  std::string path = home.Scratch("acetic-model.cld"), trn = home.Scratch("acetic.trn");
  WriteWholeFile(path, kModelOnly);
  WriteWholeFile(trn, OldFile(trnReagents));
  auto message = std::make_shared<ModalSeen>();
  AnswerWindow<Importing>([&](Importing& importing) {
    EXPECT_EQ(importing.ImportFile().text().toStdString(), ShortName(path, 1));
    if (choice == kImportFromTrn) {
      AnswerFileDialog(QString::fromStdString(trn), [&] {
        if (trnReagents != 2) message = AnswerMessageBox(QMessageBox::Ok);
      });
    }
    if (choice == kImportQuit) AnswerStartWindow(ChooseQuit);
    importing.ImportOptions(choice).setChecked(true);
    importing.Command1().click();
  });
  main.Load(path);
  main.FirstActivation();
  if (choice != kImportQuit) {
    EXPECT_EQ(main.GetSession().project.currentFile, path);
  }
  return message;
}

TEST(ProjectTest, ImportWindowNewDataOrARefusedOldFileGiveTheDefaultConditions) {
  for (int choice : {kImportNewData, kImportFromTrn}) {
    ProgramHome home;
    T32Main main(home.Folder());
    auto refused = StartWithModelOnly(home, main, choice, 3);
    EXPECT_EQ(refused->text, choice == kImportFromTrn ? "Inconsistent number of reagents" : "");
    const ProjectState& p = main.GetSession().project;
    EXPECT_EQ(p.type, kDistribution);
    EXPECT_DOUBLE_EQ(p.volume[0], 10);
    EXPECT_DOUBLE_EQ(p.pxi(1, kDistribution), 3);
    EXPECT_TRUE(p.modified);
    EXPECT_EQ(main.GetSession().settings.recent(1), p.currentFile);
    // The batch tool opens the same file to the same project.
    ProjectState tool;
    RecordingSink sink;
    OpenOutcome opened = OpenProject(tool, p.currentFile, sink);
    ASSERT_EQ(opened.status, OpenStatus::kModelOnly);
    ASSERT_EQ(OpenModelOnly(tool, opened, sink), ReadStatus::kOk);
    ApplyImportDefaults(tool);
    EXPECT_EQ(ProjectText(p), ProjectText(tool));
  }
}

TEST(ProjectTest, ImportWindowTakesConditionsFromAnOldFileOrQuits) {
  ProgramHome home;
  T32Main main(home.Folder());
  StartWithModelOnly(home, main, kImportFromTrn);
  const ProjectState& p = main.GetSession().project;
  EXPECT_EQ(p.name(1), "L");  // the model stays the file's
  EXPECT_EQ(p.type, kTitration);
  EXPECT_DOUBLE_EQ(p.vfinal, 25);
  EXPECT_FLOAT_EQ(static_cast<float>(p.burette(2, kTitration)), -0.05f);

  ProgramHome other;
  T32Main quit(other.Folder());
  StartWithModelOnly(other, quit, kImportQuit);
  EXPECT_EQ(quit.GetSession().project.nreag, 0);
  EXPECT_TRUE(quit.Ended());
}

}  // namespace
}  // namespace tarn::gui
