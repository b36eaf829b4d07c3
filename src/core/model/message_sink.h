#pragma once
// How the core tells the user something: the desktop program shows a message
// box with the application's title, the batch tool prints, tests record.

#include <string>
#include <vector>

namespace tarn {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A message with an OK button.
  virtual void Show(const std::string& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool Ask(const std::string& text) = 0;
};

// Keeps every message; answers questions with a preset reply.
class RecordingSink : public MessageSink {
 public:
  explicit RecordingSink(bool reply = true) : reply_(reply) {}
  void Show(const std::string& text) override { messages.push_back(text); }
  bool Ask(const std::string& text) override {
    questions.push_back(text);
    return reply_;
  }
  std::vector<std::string> messages;
  std::vector<std::string> questions;

 private:
  bool reply_;
};

}  // namespace tarn
