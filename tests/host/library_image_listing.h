#pragma once
// What the cross objdump lists of a DLL (`objdump -h -p`), read independently of the mapper,
// and the DLL's bytes: the expectations of the mapping tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct ListedSection {
  std::string name;
  std::uint32_t size = 0;
  std::uint32_t rva = 0;
  std::uint32_t fileOffset = 0;
};

struct ListedImport {
  std::string library;
  std::uint32_t firstThunk = 0;
  std::vector<std::string> members;  // names, or "#ordinal"
};

struct ListedRelocation {
  std::uint32_t rva = 0;
  std::string type;  // HIGHLOW, DIR64, ABSOLUTE ...
};

struct Listing {
  bool is64 = false;
  std::uint64_t imageBase = 0;
  std::uint32_t entryPoint = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t exportNameTable = 0;
  std::uint32_t exportOrdinalTable = 0;
  std::uint32_t relocationTable = 0;
  std::vector<ListedSection> sections;
  std::vector<ListedImport> imports;
  std::vector<ListedRelocation> relocations;
  std::map<std::string, std::uint32_t> exports;  // name -> RVA

  const ListedSection& Section(const std::string& name) const;
  // The file offset of an RVA inside a listed section.
  std::uint32_t FileOffset(std::uint32_t rva) const;
};

struct FixtureDll {
  std::vector<std::uint8_t> bytes;
  Listing listing;
};

// Reads <name>.dll and <name>.dll.txt from the fixture folder of the build.
FixtureDll LoadFixtureDll(const std::string& name);
// The same for any DLL beside its listing.
FixtureDll LoadDll(const std::string& dllPath);

}  // namespace testing_support
