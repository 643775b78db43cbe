#include "calendar/event_text.h"

#include "archive/record_text.h"

namespace vessory::calendar {

std::string eventText(std::string_view archiveText, archive::TextConverter& converter) {
  std::string text;
  archive::appendRecordText(archiveText, converter, text);
  return text;
}

}  // namespace vessory::calendar
