#include "support/gui/app_fixture.h"

#include <QListWidget>
#include <filesystem>
#include <fstream>

#include "gui/app/program_start.h"
#include "core/model/message_sink.h"
#include "core/model/project_file.h"

namespace tarn::gui::test {

ProgramHome::ProgramHome() {
  EXPECT_TRUE(dir_.isValid());
  std::string home = dir_.filePath(QStringLiteral("tarn")).toStdString();
  qputenv("TARN_HOME", QByteArray::fromStdString(home));
  RecordingSink sink;
  folder_ = OpenProgramFolder(TARN_DATA_DIR, sink).value_or(home);
  EXPECT_TRUE(sink.messages.empty());
}

std::string ProgramHome::Scratch(const std::string& name) const {
  std::string scratch = dir_.filePath(QStringLiteral("scratch")).toStdString();
  std::filesystem::create_directories(scratch);
  return scratch + "/" + name;
}

void ChooseRecent(Startup& start, const std::string& fileName) {
  QListWidget& list = start.RecentList();
  for (int row = 0; row < list.count(); ++row) {
    if (list.item(row)->text().endsWith(QString::fromStdString("/" + fileName))) {
      list.setCurrentRow(row);
      return start.RecentList_Choose();
    }
  }
  ADD_FAILURE() << fileName << " is not in the start window's list";
  ChooseQuit(start);
}

void ChooseQuit(Startup& start) {
  start.Starter_Click(5);
}

std::unique_ptr<T32Main> OpenSample(const ProgramHome& home, const std::string& fileName) {
  auto main = std::make_unique<T32Main>(home.Folder());
  main->Load("");
  AnswerStartWindow([fileName](Startup& start) { ChooseRecent(start, fileName); });
  main->FirstActivation();
  EXPECT_EQ(main->GetSession().project.currentFile, home.Sample(fileName));
  return main;
}

std::string ReadWholeFile(const std::string& path) {
  std::string text;
  ReadTextFile(path, text);
  return text;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace tarn::gui::test
