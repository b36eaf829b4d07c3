#include "core/model/edit_session.h"

#include <utility>
#include <vector>

namespace tarn {

namespace {

// What a step takes back or does again is the project; what belongs to the
// program around it (its file, the marks, the point count, the plot's view)
// stays as it is.
void KeepProgramState(ProjectState& restored, const ProjectState& now) {
  restored.currentFile = now.currentFile;
  restored.modified = now.modified;
  restored.recalc = now.recalc;
  restored.npoints = now.npoints;
  restored.ln10 = now.ln10;
  restored.plot = now.plot;
}

}  // namespace

EditSession::Subscription::Subscription(Subscription&& other) noexcept
    : session_(std::exchange(other.session_, nullptr)), id_(other.id_) {}

EditSession::Subscription& EditSession::Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    if (session_ != nullptr) session_->listeners_.erase(id_);
    session_ = std::exchange(other.session_, nullptr);
    id_ = other.id_;
  }
  return *this;
}

EditSession::Subscription::~Subscription() {
  if (session_ != nullptr) session_->listeners_.erase(id_);
}

EditSession::EditSession(ProjectState& project, std::size_t limit) : project_(project), limit_(limit) {}

Change EditSession::Apply(std::string_view what, const std::function<Change(ProjectState&)>& apply,
                          std::string_view run) {
  ProjectState before = project_;
  Change changes = apply(project_);
  if (changes == Change::kNone) return changes;
  if (saved_ && *saved_ > undo_.size()) saved_.reset();  // the saved state was on the redo side
  redo_.clear();
  const bool atSaved = saved_ && *saved_ == undo_.size();
  if (!run.empty() && run == lastRun_ && !undo_.empty() && !atSaved) {
    undo_.back().what = std::string(what);
    undo_.back().changes |= changes;
  } else {
    undo_.push_back(Step{std::string(what), changes, std::move(before)});
    if (undo_.size() > limit_) {
      undo_.pop_front();
      if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
    }
  }
  lastRun_ = std::string(run);
  if (Has(changes, Change::kResults)) project_.recalc = true;
  UpdateModified();
  Notify(ChangeNote{changes | Change::kHistory, origin_});
  return changes;
}

// The last step of `from` is undone (or redone): the project takes its
// state, and the step, now holding the project as it was, goes to `to`.
Change EditSession::Move(std::deque<Step>& from, std::deque<Step>& to) {
  if (from.empty()) return Change::kNone;
  Step step = std::move(from.back());
  from.pop_back();
  ProjectState now = project_;
  KeepProgramState(step.state, now);
  project_ = std::move(step.state);
  if (Has(step.changes, Change::kResults)) project_.recalc = true;
  to.push_back(Step{std::move(step.what), step.changes, std::move(now)});
  lastRun_.clear();
  UpdateModified();
  Notify(ChangeNote{step.changes | Change::kHistory, nullptr});
  return step.changes;
}

Change EditSession::Undo() {
  return Move(undo_, redo_);
}

Change EditSession::Redo() {
  return Move(redo_, undo_);
}

void EditSession::Reset(bool saved) {
  undo_.clear();
  redo_.clear();
  lastRun_.clear();
  saved_ = saved ? std::optional<std::size_t>(0) : std::nullopt;
  project_.modified = !saved;
  Notify(ChangeNote{Change::kProject | Change::kResults | Change::kHistory, nullptr});
}

void EditSession::MarkSaved() {
  saved_ = undo_.size();
  lastRun_.clear();
  project_.modified = false;
}

void EditSession::UpdateModified() {
  project_.modified = !(saved_ && *saved_ == undo_.size());
}

EditSession::Subscription EditSession::Subscribe(Listener listener) {
  const int id = nextListener_++;
  listeners_.emplace(id, std::move(listener));
  return Subscription(this, id);
}

void EditSession::Publish(Change changes) {
  Notify(ChangeNote{changes, origin_});
}

// A listener may end subscriptions (a window that closes itself), so each
// is looked up again before it is called.
void EditSession::Notify(const ChangeNote& note) {
  std::vector<int> ids;
  for (const auto& entry : listeners_) ids.push_back(entry.first);
  for (int id : ids) {
    auto found = listeners_.find(id);
    if (found == listeners_.end()) continue;
    Listener listener = found->second;
    listener(note);
  }
}

}  // namespace tarn
