#pragma once
// Reading the PE/COFF headers of a DLL image as it lies in a file, bounded by the bytes at
// hand: the image is checked whole before anything is mapped, and what the mapped library
// needs later is kept from this reading (the copy of the headers in the mapped image is
// never read: the library's own code may write it).
#include <cstdint>
#include <optional>
#include <span>

namespace app::pe {

inline constexpr std::uint16_t kRelocAbsolute = 0;  // padding
inline constexpr std::uint16_t kRelocHighLow = 3;
inline constexpr std::uint16_t kRelocDir64 = 10;

inline constexpr std::uint32_t kSectionInitializedData = 0x00000040;
inline constexpr std::uint32_t kSectionUninitializedData = 0x00000080;
inline constexpr std::uint32_t kSectionDiscardable = 0x02000000;
inline constexpr std::uint32_t kSectionNotCached = 0x04000000;
inline constexpr std::uint32_t kSectionExecute = 0x20000000;
inline constexpr std::uint32_t kSectionRead = 0x40000000;
inline constexpr std::uint32_t kSectionWrite = 0x80000000;

// The unit of VirtualProtect and VirtualFree on x86 and x64.
inline constexpr std::uint64_t kPageSize = 0x1000;

// The signature and the file header in front of the optional header.
inline constexpr std::uint32_t kNtFixedSize = 24;
inline constexpr std::uint32_t kSectionHeaderSize = 40;

std::uint16_t Le16(const std::uint8_t* p);
std::uint32_t Le32(const std::uint8_t* p);
std::uint64_t Le64(const std::uint8_t* p);

struct DataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

struct NtHeaders {
  std::uint16_t machine = 0;  // IMAGE_FILE_MACHINE_*
  bool is64 = false;  // PE32+
  std::uint16_t sectionCount = 0;
  std::uint16_t sizeOfOptionalHeader = 0;
  std::uint64_t imageBase = 0;
  std::uint32_t imageBaseOffset = 0;  // of the ImageBase field, from the "PE" signature
  std::uint32_t entryPoint = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t sizeOfInitializedData = 0;
  std::uint32_t sizeOfUninitializedData = 0;
  DataDirectory exports, imports, relocations;

  std::uint32_t SectionTableOffset() const { return kNtFixedSize + sizeOfOptionalHeader; }
};

// Whether the image holds code for `machine`, with the optional header of that machine's
// form: PE32 for x86, PE32+ for x86_64.
bool IsImageFor(const NtHeaders& nt, std::uint16_t machine);

// The size of NT headers whose first kNtFixedSize bytes are `fixed`: enough to parse them.
std::uint32_t NtHeadersSize(std::span<const std::uint8_t> fixed);
// `nt` starts at the "PE\0\0" signature and holds at least NtHeadersSize bytes.
std::optional<NtHeaders> ParseNtHeaders(std::span<const std::uint8_t> nt);

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t sizeOfRawData = 0;
  std::uint32_t pointerToRawData = 0;
  std::uint32_t characteristics = 0;
};

// The page protection that a section's characteristics select.
std::uint32_t SectionProtection(std::uint32_t characteristics);
// How much of a mapped section is protected (or, if discardable, decommitted): SizeOfRawData;
// for a section without raw data, the image's size of initialised or uninitialised data,
// whichever the section holds. Never past the end of the image.
std::uint64_t ProtectedSize(const NtHeaders& nt, const Section& s);

// Relative addresses [start, end) in the mapped image.
struct Extent {
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};
// The pages of a mapped section that cannot be read once it is protected: decommitted
// (discardable) or without access. Empty when the section's pages stay readable.
Extent UnreadablePages(const NtHeaders& nt, const Section& s);

// A DLL image as it lies in a file, every header, section and relocation checked to lie
// within the bytes and within SizeOfImage. As in every image a linker makes, no section and
// no relocation lies inside the headers and no section takes the headers' pages away: an
// image that would change its own headers when mapped is refused.
struct ImageFile {
  std::span<const std::uint8_t> bytes;
  std::uint32_t ntOffset = 0;
  NtHeaders nt;

  Section SectionAt(std::uint16_t index) const;
  // The file bytes that hold [rva, rva + size) of the mapped image, or none.
  std::optional<std::span<const std::uint8_t>> BytesAt(std::uint32_t rva, std::uint32_t size) const;
};

std::optional<ImageFile> ParseImageFile(std::span<const std::uint8_t> bytes);

// Walks a base relocation table, calling visit(type, rva) for every entry. False when a
// block is shorter than its header or overruns the table; a block of size 0 ends it.
template <typename Visit>
bool ForEachRelocation(std::span<const std::uint8_t> table, Visit visit) {
  std::size_t at = 0;
  while (table.size() - at >= 8) {
    const std::uint32_t page = Le32(&table[at]);
    const std::uint32_t blockSize = Le32(&table[at + 4]);
    if (blockSize == 0) break;
    if (blockSize < 8 || blockSize > table.size() - at) return false;
    for (std::size_t entry = at + 8; entry + 2 <= at + blockSize; entry += 2) {
      const std::uint16_t value = Le16(&table[entry]);
      visit(static_cast<std::uint16_t>(value >> 12), std::uint64_t{page} + (value & 0x0FFFu));
    }
    at += blockSize;
  }
  return true;
}

}  // namespace app::pe
