#ifndef VESSORY_TOOLS_ORGANISER_SAMPLES_H_
#define VESSORY_TOOLS_ORGANISER_SAMPLES_H_

#include <string>

namespace vessory::tools {

// The sample address book, to-do list and memo pad shipped in samples/, as archive bytes. They
// belong to the same person as the sample date book (April 2002, New York) and show what each
// export makes of the kinds' features. Records are only ever added at the end, so that the
// exports of the samples stay what they were.
std::string sampleAddressArchive();
std::string sampleTodoArchive();
std::string sampleMemoArchive();

}  // namespace vessory::tools

#endif  // VESSORY_TOOLS_ORGANISER_SAMPLES_H_
