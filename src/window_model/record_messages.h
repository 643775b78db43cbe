#ifndef VESSORY_WINDOW_MODEL_RECORD_MESSAGES_H_
#define VESSORY_WINDOW_MODEL_RECORD_MESSAGES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace vessory::window_model {

// Gathers what a run says about single records ("Record 12 (unique id 4711) left out: its time
// 1A3C is no time.") so that the window shows them in one box at the end, one line per kind of
// damage: the kind's first message as the run gave it, then the next few records of that kind
// and how many more, above the run's own message: a damaged database must not ask for one click
// per record. A text that names no record passes. Lives for one run of the window's; holds
// copies only.
class RecordMessages {
 public:
  // How many records each kind names in the box, its first message's included.
  static constexpr std::size_t kNamedPerKind = 3;

  // True when `text` is a record's message, now held for the box.
  bool hold(const std::string& text);
  bool empty() const { return total_ == 0; }
  // The held messages as one text ("" when none), and nothing held any more.
  std::string take();
  // `text` below the held messages, which are taken; `text` alone when none are held.
  std::string above(const std::string& text);

 private:
  struct Kind {
    std::string wording;  // the message without its record and without its values
    std::int64_t count = 0;
    std::string first;               // the first message of this kind, whole
    std::vector<std::string> named;  // the next records of this kind
  };
  static std::string lineOf(const Kind& kind);
  std::vector<Kind> kinds_;
  std::int64_t total_ = 0;
};

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_RECORD_MESSAGES_H_
