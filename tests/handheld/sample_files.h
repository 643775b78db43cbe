#ifndef VESSORY_TESTS_HANDHELD_SAMPLE_FILES_H_
#define VESSORY_TESTS_HANDHELD_SAMPLE_FILES_H_

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/handheld_builder.h"

namespace vessory::testing {

// The real databases in tests/data/handheld (see the NOTICE there), read whole into memory.
inline PdbBytes loadSample(const std::string& name) {
  std::ifstream in(std::string(VESSORY_HANDHELD_SAMPLES) + "/" + name, std::ios::binary);
  return PdbBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline const std::vector<std::string>& sampleNames() {
  static const std::vector<std::string> names = {"AddressDB-LifeDrive.pdb",
                                                 "AddressDB-Palm V-FR.pdb",
                                                 "DatebookDB.pdb",
                                                 "ExpenseDB.pdb",
                                                 "MemoDB.pdb",
                                                 "ToDoDB.pdb"};
  return names;
}

// `length` bytes of `file` from `offset`, as text.
inline std::string bytesAt(const PdbBytes& file, std::size_t offset, std::size_t length) {
  return std::string(file.begin() + static_cast<std::ptrdiff_t>(offset),
                     file.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_HANDHELD_SAMPLE_FILES_H_
