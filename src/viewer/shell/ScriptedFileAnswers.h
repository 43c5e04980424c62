#pragma once

#include <deque>
#include <optional>
#include <string>

namespace lv {

// Answers for the next file dialogs given by a script instead of a person: a path, or a
// cancel. Every host asks here before it opens a real dialog, so a scripted "load PATH" means
// the same with and without a window.
class ScriptedFileAnswers {
 public:
  void push(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
  bool pending() const { return !answers_.empty(); }
  // The oldest answer; a cancel when none is queued.
  std::optional<std::string> take() {
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }
  // Drops answers no dialog asked for, so a later dialog goes to the person again.
  void clear() { answers_.clear(); }

 private:
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace lv
