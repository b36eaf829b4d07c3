#include "gui/app/main_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/app/command_line.h"
#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "core/app/start_up.h"
#include "gui/app/about_window.h"
#include "gui/app/clipboard_viewer.h"
#include "gui/app/help_command.h"
#include "gui/app/start_window.h"
#include "gui/app/toolbar_icons.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {


struct ScreenSize {
  int width;
  int height;
};
// Sizes(1..6); Sizes(0) is full screen.
constexpr std::array<ScreenSize, kScreenSizes> kScreenSizesPixels{
    {{0, 0}, {800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}, {1400, 1050}, {1600, 1200}}};

// The screen's free area (without panels and docks).
QRect FreeArea(const QWidget& window) {
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// Whether preset i (1..6) fits a free area.
bool PresetFits(int i, QSize free) {
  const ScreenSize& preset = kScreenSizesPixels[static_cast<std::size_t>(i)];
  return preset.width <= free.width() && preset.height <= free.height();
}

// The largest window-size preset that fits the screen's free area: a new
// settings file starts with it, so the plot has room on a large screen
// (800 x 600 on a small one).
int FittingScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 1;
  int fitting = 1;
  for (int i = 1; i < kScreenSizes; ++i)
    if (PresetFits(i, screen->availableSize())) fitting = i;
  return fitting;
}

// The window manager's frame around the window (none before it is shown).
QMargins FrameOf(const QWidget& window) {
  const QRect frame = window.frameGeometry(), inner = window.geometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

// A command-line path relative to the folder Tarn was started in, made absolute.
std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

T32Main::T32Main(std::string programFolder, QWidget* parent)
    : QMainWindow(parent),
      mdiArea_(new QMdiArea(this)),
      children_(*mdiArea_, [this](int window) { return CreateChild(window); }) {
  session_.programFolder = std::move(programFolder);
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowIcon(ProgramIcon());
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  // A window larger than the area (the plot in a small main window) can be scrolled into view.
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->viewport()->installEventFilter(this);
  setCentralWidget(mdiArea_);
  menus_ = BuildMainMenus(*this);
  menus_.tile[0]->setChecked(true);
  UpdateCommandStates();
  changes_ = session_.edits.Subscribe([this](const ChangeNote& note) { OnChange(note); });
}

T32Main::~T32Main() {
  // The child windows hold references into the session: they go first.
  children_.CloseAll();
  CloseHelp();
  delete mdiArea_;
}

void T32Main::Load(const std::string& commandLine) {
  GuiMessageSink sink(this);
  session_.settings = LoadSettingsAtStart(session_.programFolder, sink, FittingScreenSize());
  pointChoice_ = LoadPointChoice(session_.settings.nsel);
  ApplyPointChoice();
  commandLinePending_ = true;
  CommandLine parsed = ParseCommandLine(commandLine);
  if (!parsed.caller.empty()) ShowMessage(CalledFromMessage(parsed.caller), kCalledFromTitle, this);
  if (!parsed.path.empty()) {
    commandLinePath_ = AbsolutePath(parsed.path);
    session_.settings.readdir = FolderOf(commandLinePath_);
    SaveSettings();  // the file enters the recent list once it has been opened
  }
  OfferScreenSizes();
  SetSize();
}

void T32Main::FirstActivation() {
  if (activated_) return;
  activated_ = true;
  if (!commandLinePath_.empty() && commandLinePending_) {
    commandLinePending_ = false;
    if (OpenProjectFile(commandLinePath_) == Opened::kYes) return;
  }
  RunStartWindow();
}

void T32Main::RunStartWindow() {
  for (;;) {
    Startup start(session_, this);
    start.exec();
    if (StartAction(start.StartChoice())) return;
  }
}

bool T32Main::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize) children_.FitToClient(Tiling());
  return QMainWindow::eventFilter(watched, event);
}

void T32Main::closeEvent(QCloseEvent* event) {
  CommitOpenEdit();  // a value still being typed counts as a change
  if (!ended_ && session_.project.modified && RunSavePrompt(SaverEnd::kExit) == kSaveReturn) {
    event->ignore();
    return;
  }
  event->accept();
  EndProgram();
}

void T32Main::EndProgram() {
  if (ended_) return;
  ended_ = true;
  emit ProgramEnded();
}

bool T32Main::Tiling() const {
  return menus_.tile[kTile] != nullptr && menus_.tile[kTile]->isChecked();
}

void T32Main::Tile_Click(TileCommand command) {
  if (command == kCloseAll) {
    CloseAllWindows();
    return;
  }
  menus_.tile[kTile]->setChecked(command == kTile);
  menus_.tile[kCascade]->setChecked(command == kCascade);
  if (command == kTile) children_.Tiler();
  if (command == kCascade) children_.Cascade();
}

void T32Main::Sizes_Click(int index) {
  if (index < 0 || index >= kScreenSizes) return;
  session_.settings.screensize = index;
  SaveSettings();
  SetSize();
}

// A size larger than the screen's free area is not offered.
void T32Main::OfferScreenSizes() {
  const QSize free = FreeArea(*this).size();
  for (int i = 1; i < kScreenSizes; ++i) menus_.sizes[static_cast<std::size_t>(i)]->setEnabled(PresetFits(i, free));
}

void T32Main::SetSize() {
  int size = std::clamp(session_.settings.screensize, 0, kScreenSizes - 1);
  for (int i = 0; i < kScreenSizes; ++i) menus_.sizes[static_cast<std::size_t>(i)]->setChecked(i == size);
  if (size == 0) {
    setWindowState(windowState() | Qt::WindowMaximized);
    return;
  }
  setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
  const ScreenSize& pixels = kScreenSizesPixels[static_cast<std::size_t>(size)];
  resize(pixels.width, pixels.height);
  fitOnScreen_ = true;
  FitOnScreen();
}

// The window, frame included, within the screen's free area: a size too
// large for it (a preset kept from a larger screen, or a frame the window
// manager adds) shrinks to fit, and the window moves fully into view. Done
// again once the window manager has framed the window.
void T32Main::FitOnScreen() {
  if (!fitOnScreen_ || isMaximized() || isFullScreen()) return;
  const QRect free = FreeArea(*this);
  const QMargins frame = FrameOf(*this);
  const QSize room = free.size().shrunkBy(frame).expandedTo(minimumSizeHint());
  if (width() > room.width() || height() > room.height()) resize(size().boundedTo(room));
  const QRect outer = frameGeometry();
  const int x = std::clamp(outer.x(), free.left(), std::max(free.left(), free.right() + 1 - outer.width()));
  const int y = std::clamp(outer.y(), free.top(), std::max(free.top(), free.bottom() + 1 - outer.height()));
  if (x != outer.x() || y != outer.y()) move(x, y);
  if (!frame.isNull()) fitOnScreen_ = false;  // framed: the fit is final
}

bool T32Main::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // Showing and framing the window move it: the frame is known then.
  if (fitOnScreen_ && (event->type() == QEvent::Move || event->type() == QEvent::Show)) FitOnScreen();
  return handled;
}

void T32Main::ClipView_Click() {
  if (clipboardViewer_ == nullptr) {
    clipboardViewer_ = new ClipboardViewer(this);
    clipboardViewer_->setWindowFlag(Qt::Window);
  }
  clipboardViewer_->show();
  clipboardViewer_->raise();
  clipboardViewer_->activateWindow();
}

void T32Main::hlp_Click(int index) {
  if (index == 1) {
    AboutWindow about(session_.programFolder, this);
    about.exec();
    return;
  }
  ShowHelp(session_.programFolder, HelpPageOf(HelpContextOf(children_.ActiveWindow())));
}

}  // namespace tarn::gui
