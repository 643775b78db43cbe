#ifndef VESSORY_EXPORT_OUTPUT_PLACE_H_
#define VESSORY_EXPORT_OUTPUT_PLACE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "export/run_steps.h"
#include "files/output_file.h"

namespace vessory::exporting {

// Where an export's output goes once its run has ended. An export only ever takes the place of
// an earlier file of its name when it holds the whole archive: a stopped run's part goes, and a
// damaged archive's part goes beside the earlier file, so that a good earlier export is never
// lost to a worse one. With no earlier file the output stays under its own name whatever it
// holds, ending at a whole record.
enum class OutputPlace {
  kOwnName,      // under its own name (replacing an earlier file when the archive was whole)
  kEarlierKept,  // nowhere: the run was stopped and the earlier file stays as it was
  kBeside,       // beside the earlier file, under damagedArchivePath()
};

// Where the output of a run that ended as `outcome` goes; `earlier` tells whether a file (or a
// memo folder) of its name was there when the output was started.
OutputPlace outputPlace(ExportOutcome outcome, bool earlier);

// The name of a damaged archive's export beside the earlier one: " (damaged archive)" before the
// extension of the file name ("journal (damaged archive).csv"), or at the end of a folder's.
std::string damagedArchivePath(std::string_view path, bool folder = false);

// Closes `out` (an OutputFile, or any output with close(), closeAs() and discard()) under its
// own name, gives it up, or closes it as `besidePath`, as `place` says. False when writing failed
// (the reason is the output's); giving up never fails.
template <class Output>
bool settleOutput(Output& out, OutputPlace place, const std::string& besidePath) {
  switch (place) {
    case OutputPlace::kEarlierKept:
      out.discard();
      return true;
    case OutputPlace::kBeside:
      return out.closeAs(besidePath);
    default:
      return out.close();
  }
}

// The sentence a final message ends with when a damaged archive's export went beside the
// earlier export named `earlierName` (as messages name it).
std::string besideEarlierText(const std::string& earlierName);

// The console's and the windows' words on a stopped run that had read `recordsRead` records:
// kept in `outputName`, or, when an earlier file of that name was there, that the earlier one
// was left as it was and the part read was not kept.
std::string stoppedText(std::int64_t recordsRead, const std::string& outputName, bool earlierKept);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_OUTPUT_PLACE_H_
