#ifndef VESSORY_ARCHIVE_MESSAGE_SINK_H_
#define VESSORY_ARCHIVE_MESSAGE_SINK_H_

#include <string>

namespace vessory::archive {

// Where the archive readers report anomalies. The export run forwards each text to the front
// end, which shows it and returns once the user has seen it; the core itself never prints.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void showMessage(const std::string& text) = 0;
};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_MESSAGE_SINK_H_
