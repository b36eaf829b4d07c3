#pragma once
// The one road every change of the open project travels. An edit operation
// (project_edits.h) hands the session a function that changes the project
// and returns what it invalidated; the session keeps the project as it was
// before the step, so that the step can be undone and redone, sets
// `modified` as the saved state requires, and publishes the change flags to
// every window that subscribed. Undo and redo publish on the same road.
//
//   EditSession edits(project);
//   auto mark = edits.Subscribe([](const ChangeNote& note) { ... });
//   SetLogBeta(edits, 2, 7.5);                 // one step: "log beta of CuL2"
//   edits.UndoName();                          // "log beta of CuL2"
//   edits.Undo();                              // the project as before, published
//
// A run of edits with the same run key (the steps of a scroll-bar drag, the
// keys typed into one box) is one step until EndRun. The history is bounded
// (kHistoryLimit steps): a project is kilobytes, so it stays small.

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/model/changes.h"
#include "core/model/project_state.h"

namespace tarn {

inline constexpr std::size_t kHistoryLimit = 300;

// One published change: its flags and the window that made it (nullptr for
// undo, redo and the program's own changes), so that a window can leave
// alone the control the user is typing into.
struct ChangeNote {
  Change changes = Change::kNone;
  const void* origin = nullptr;
};

class EditSession {
 public:
  using Listener = std::function<void(const ChangeNote&)>;

  // Ends a window's subscription when it goes.
  class Subscription {
   public:
    Subscription() = default;
    Subscription(EditSession* session, int id) : session_(session), id_(id) {}
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

   private:
    EditSession* session_ = nullptr;
    int id_ = 0;
  };

  // The edits made while one exists carry `origin`.
  class Origin {
   public:
    Origin(EditSession& session, const void* origin) : session_(session), before_(session.origin_) {
      session_.origin_ = origin;
    }
    ~Origin() { session_.origin_ = before_; }
    Origin(const Origin&) = delete;
    Origin& operator=(const Origin&) = delete;

   private:
    EditSession& session_;
    const void* before_;
  };

  explicit EditSession(ProjectState& project, std::size_t limit = kHistoryLimit);
  EditSession(const EditSession&) = delete;
  EditSession& operator=(const EditSession&) = delete;

  ProjectState& Project() { return project_; }
  const ProjectState& Project() const { return project_; }

  // One edit named `what`. `apply` changes the project and returns what it
  // invalidated, kNone when it changed nothing (no step then). Returns the flags.
  Change Apply(std::string_view what, const std::function<Change(ProjectState&)>& apply, std::string_view run = {});
  // The next edit starts a step of its own, whatever its run key.
  void EndRun() { lastRun_.clear(); }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // What the next Undo or Redo would take back or do again; empty when none.
  std::string UndoName() const { return undo_.empty() ? std::string() : undo_.back().what; }
  std::string RedoName() const { return redo_.empty() ? std::string() : redo_.back().what; }
  Change Undo();
  Change Redo();
  std::size_t Steps() const { return undo_.size() + redo_.size(); }

  // Another project was opened or made: the history starts empty; `saved`
  // says whether the project is as its file holds it. Publishes kProject.
  void Reset(bool saved);
  // The project was saved as it is now: undoing away from here sets
  // `modified`, coming back clears it.
  void MarkSaved();

  Subscription Subscribe(Listener listener);
  // Tells every subscriber (the program's own changes, such as a new series).
  void Publish(Change changes);

 private:
  struct Step {
    std::string what;
    Change changes = Change::kNone;
    ProjectState state;  // the project at the other end of the step
  };

  Change Move(std::deque<Step>& from, std::deque<Step>& to);
  void UpdateModified();
  void Notify(const ChangeNote& note);

  ProjectState& project_;
  std::size_t limit_;
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  std::optional<std::size_t> saved_ = 0;  // undo depth at which the project is as saved
  std::string lastRun_;
  const void* origin_ = nullptr;
  std::map<int, Listener> listeners_;
  int nextListener_ = 1;
};

}  // namespace tarn
