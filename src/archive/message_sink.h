#ifndef VESSORY_ARCHIVE_MESSAGE_SINK_H_
#define VESSORY_ARCHIVE_MESSAGE_SINK_H_

#include <string>
#include <utility>
#include <vector>

namespace vessory::archive {

// Where the archive readers report anomalies. The export run forwards each text to the front
// end, which shows it and returns once the user has seen it; the core itself never prints.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void showMessage(const std::string& text) = 0;
};

// Passes messages on to another sink, or holds them back while something is read that may yet be
// refused as a whole: a refused header is told by its refusal alone, not by what reading it
// found on the way. Borrows the sink it passes to, which must outlive it.
class HeldMessages : public MessageSink {
 public:
  explicit HeldMessages(MessageSink& to) : to_(to) {}

  void showMessage(const std::string& text) override {
    if (holding_) {
      held_.push_back(text);
    } else {
      to_.showMessage(text);
    }
  }
  void hold() { holding_ = true; }
  // Stops holding: what was held is passed on in its order when `pass`, else dropped.
  void release(bool pass) {
    holding_ = false;
    std::vector<std::string> held = std::exchange(held_, {});
    if (pass) {
      for (const std::string& text : held) to_.showMessage(text);
    }
  }

 private:
  MessageSink& to_;
  bool holding_ = false;
  std::vector<std::string> held_;
};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_MESSAGE_SINK_H_
