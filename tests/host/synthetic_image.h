#pragma once
// Small DLL images made by a test, for the cases that the fixture DLLs cannot show: sections
// of any characteristics, relocations of any type, no entry point. The headers take the first
// page; section i lies at page i + 1 with its raw data, if any, padded to 0x200 bytes. There
// are no imports and no exports.
#include <cstdint>
#include <vector>

namespace testing_support {

inline constexpr std::uint32_t kSyntheticPage = 0x1000;

struct SyntheticSection {
  std::uint32_t characteristics = 0;
  std::vector<std::uint8_t> data;  // the raw data; empty: a section without raw data
};

struct SyntheticImage {
  bool is64 = true;  // PE32+ for x86_64, else PE32 for x86
  std::uint64_t imageBase = 0x180000000;
  std::uint32_t entryPoint = 0;
  std::uint32_t sizeOfInitializedData = 0;
  std::uint32_t sizeOfUninitializedData = 0;
  std::vector<SyntheticSection> sections;
  int relocationSection = -1;   // the section whose raw data is the base relocation table
  std::uint32_t pagesAfter = 0;  // pages of the image past the last section

  static std::uint32_t SectionRva(std::size_t index) {
    return kSyntheticPage * static_cast<std::uint32_t>(index + 1);
  }
  std::vector<std::uint8_t> Bytes() const;
};

}  // namespace testing_support
