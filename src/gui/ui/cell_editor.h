#pragma once
// The floating cell editor: one line edit laid over a grid's current cell,
// the way every editable grid of the program is typed into (the model grid,
// the solids grid, the conditions grid, the single-point grids).
//
// How a user edits a cell:
// - A character typed on the grid opens the editor with that character alone
//   (it replaces the cell's text); Enter or a double-click opens it on the
//   cell's whole text. Esc on the grid opens nothing.
// - In the editor: Enter ends the edit; Esc puts the starting text back and
//   ends it (so the edit changes nothing); F2 toggles the navigation flag.
//   While the flag is on (background cyan) the arrow keys end the edit and
//   move the grid's current cell one step; while it is off (yellow) they move
//   the caret. Every other key is ordinary typing; nothing is refused.
// - The edit is committed when the editor loses the focus (Enter, Esc and the
//   arrows give the focus back to the grid; a click elsewhere does the same).
//   Commit() ends it at once, e.g. before a window closes, so that nothing
//   typed is lost.
//
// The owner decides which cells are editable and what a commit means:
//
//   editor_ = new CellEditor(*grid);          // a child of the grid's parent
//   editor_->SetCommitHandler([this](const CellEdit& edit) { Store(edit); });
//   grid->SetKeyHandler([this](QKeyEvent* e) {
//     std::optional<StartKey> key = StartKeyOf(*e);
//     if (!key || !CanEdit(grid->Row(), grid->Col())) return key.has_value();
//     editor_->StartCellEdit(*key);
//     return true;
//   });
//   connect(grid, &QTableWidget::cellDoubleClicked, this, [this] {
//     if (CanEdit(...)) editor_->StartCellEdit(StartKey::Enter());
//   });
//
// The commit handler runs once per edit, after the editor is hidden, with the
// row, the column, the final text and the starting text. It may refill the
// grid (the editor keeps no pointer to cells). When an arrow key ended the
// edit, the grid's current cell moves after the handler has run, from the
// current cell the handler left.
//
// Keys as numbers (kKeyEnter, kKeyEsc, kKeyF2, the arrows) are the key codes
// the grid and the editor dispatch on: EditorKeyDown takes F2 and the arrows,
// EditorKeyPress takes Enter and Esc; both return true when they used the key.

#include <QColor>
#include <QLineEdit>
#include <functional>
#include <optional>
#include <string>

class QKeyEvent;

namespace tarn::gui {

class Grid;

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEsc = 27;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyF2 = 113;

// The editor's background while the arrows navigate (cyan) and while they
// move the caret (yellow).
inline const QColor kNavigatingColour{0, 255, 255};
inline const QColor kTypingColour{255, 255, 0};

// What opened an edit: Enter (also a double-click) keeps the cell's whole
// text; a typed character replaces it.
struct StartKey {
  bool whole = true;
  QString typed;
  static StartKey Enter() { return {}; }
  static StartKey Typed(const QString& text) { return {false, text}; }
};

// The start of an edit that a key pressed on a grid makes: Enter (Return or
// the keypad's Enter), a printable character, or Backspace (an empty text);
// nullopt for Esc and every key that is no character (arrows, Tab, F-keys,
// keys with Ctrl or Alt), which the grid handles itself.
std::optional<StartKey> StartKeyOf(const QKeyEvent& event);

// The end of one edit, as the commit handler gets it.
struct CellEdit {
  int row = 0;
  int col = 0;
  std::string text;       // the editor's text when the edit ended
  std::string startText;  // the cell's text when the edit began
  bool Changed() const { return text != startText; }
};

class CellEditor : public QLineEdit {
  Q_OBJECT

 public:
  using CommitHandler = std::function<void(const CellEdit&)>;

  // Hidden until an edit starts; a child of the grid's parent widget.
  explicit CellEditor(Grid& grid);

  void SetCommitHandler(CommitHandler handler) { commit_ = std::move(handler); }
  // Called after every key released while the editor is open (e.g. to widen
  // a column while a name is typed).
  void SetKeyUpHandler(std::function<void()> handler) { keyUp_ = std::move(handler); }

  // Opens the editor over the grid's current cell: remembers the starting
  // text and the cell, selects that cell alone, turns navigation on (cyan),
  // sizes and places the editor on the cell, loads the text by the key, and
  // shows and focuses it. An edit still open is committed first.
  void StartCellEdit(const StartKey& key);

  // F2 and the arrows; true when the key was used.
  bool EditorKeyDown(int keyCode);
  // Enter and Esc; true when the key was used (both are swallowed).
  bool EditorKeyPress(int keyAscii);
  // Ends the edit with an arrow key: the focus goes back to the grid (which
  // commits) and the grid moves its current cell by that key.
  void LeaveByArrow(int keyCode);

  // Ends an open edit now and runs the commit handler; nothing when none is open.
  void Commit();
  // Ends an open edit without committing it (the cells it was over are gone).
  void Discard();

  bool Editing() const { return editing_; }
  bool Navigating() const { return navigating_; }
  int EditRow() const { return row_; }
  int EditCol() const { return col_; }
  const std::string& StartText() const { return startText_; }
  Grid& EditedGrid() { return grid_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void SetNavigating(bool on);
  // Gives the focus back to the grid; commits when the focus change did not.
  void ReturnToGrid();

  Grid& grid_;
  CommitHandler commit_;
  std::function<void()> keyUp_;
  bool editing_ = false;
  bool navigating_ = true;
  int row_ = 0;
  int col_ = 0;
  std::string startText_;
};

}  // namespace tarn::gui
