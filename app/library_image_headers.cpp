#include "app/library_image_headers.h"

#include "platform/loader_host.h"

namespace app::pe {

namespace {

constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::uint32_t kDosHeaderSize = 0x40;
constexpr std::uint32_t kLfanewOffset = 0x3C;

// Offsets within the optional header that differ between PE32 and PE32+.
struct OptionalLayout {
  std::uint32_t imageBase, imageBaseSize, directoryCount, directories;
};
constexpr OptionalLayout kPe32Layout{28, 4, 92, 96};
constexpr OptionalLayout kPe32PlusLayout{24, 8, 108, 112};

constexpr std::uint32_t kExportDirectory = 0;
constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kRelocationDirectory = 5;

bool Within(std::uint64_t offset, std::uint64_t size, std::uint64_t limit) {
  return offset <= limit && size <= limit - offset;
}

bool RelocationsFit(const ImageFile& file) {
  const DataDirectory table = file.nt.relocations;
  if (table.size == 0) return true;
  const auto bytes = file.BytesAt(table.rva, table.size);
  if (!bytes) return false;
  bool sitesFit = true;
  const bool blocksFit = ForEachRelocation(*bytes, [&](std::uint16_t type, std::uint64_t rva) {
    const std::uint64_t width = type == kRelocHighLow ? 4 : type == kRelocDir64 ? 8 : 0;
    if (width == 0) return;
    if (rva < file.nt.sizeOfHeaders || !Within(rva, width, file.nt.sizeOfImage)) sitesFit = false;
  });
  return blocksFit && sitesFit;
}

bool SectionsFit(const ImageFile& file) {
  for (std::uint16_t i = 0; i < file.nt.sectionCount; ++i) {
    const Section s = file.SectionAt(i);
    if (s.sizeOfRawData > 0) {
      if (!Within(s.pointerToRawData, s.sizeOfRawData, file.bytes.size())) return false;
      if (!Within(s.virtualAddress, s.sizeOfRawData, file.nt.sizeOfImage)) return false;
    } else if (!Within(s.virtualAddress, file.nt.sectionAlignment, file.nt.sizeOfImage)) {
      return false;
    }
    if (s.virtualAddress < file.nt.sizeOfHeaders) return false;
    const Extent unreadable = UnreadablePages(file.nt, s);
    if (unreadable.start < unreadable.end && unreadable.start < file.nt.sizeOfHeaders) return false;
  }
  return true;
}

}  // namespace

std::uint32_t SectionProtection(std::uint32_t characteristics) {
  // Indexed by [execute][read][write].
  static constexpr std::uint32_t kProtections[2][2][2] = {
      {{platform::kPageNoAccess, platform::kPageWriteCopy}, {platform::kPageReadOnly, platform::kPageReadWrite}},
      {{platform::kPageExecute, platform::kPageExecuteWriteCopy},
       {platform::kPageExecuteRead, platform::kPageExecuteReadWrite}}};
  const bool execute = characteristics & kSectionExecute;
  const bool read = characteristics & kSectionRead;
  const bool write = characteristics & kSectionWrite;
  std::uint32_t protection = kProtections[execute][read][write];
  if (characteristics & kSectionNotCached) protection |= platform::kPageNoCache;
  return protection;
}

std::uint64_t ProtectedSize(const NtHeaders& nt, const Section& s) {
  std::uint64_t size = s.sizeOfRawData;
  if (size == 0 && (s.characteristics & kSectionInitializedData)) size = nt.sizeOfInitializedData;
  else if (size == 0 && (s.characteristics & kSectionUninitializedData)) size = nt.sizeOfUninitializedData;
  const std::uint64_t room = nt.sizeOfImage - s.virtualAddress;
  return size < room ? size : room;
}

Extent UnreadablePages(const NtHeaders& nt, const Section& s) {
  const std::uint64_t size = ProtectedSize(nt, s);
  const bool discarded = s.characteristics & kSectionDiscardable;
  const bool noAccess = (SectionProtection(s.characteristics) & ~platform::kPageNoCache) == platform::kPageNoAccess;
  if (size == 0 || (!discarded && !noAccess)) return {};
  const std::uint64_t start = s.virtualAddress / kPageSize * kPageSize;
  const std::uint64_t end = (std::uint64_t{s.virtualAddress} + size + kPageSize - 1) / kPageSize * kPageSize;
  return {start, end};
}

bool IsImageFor(const NtHeaders& nt, std::uint16_t machine) {
  return nt.machine == machine && nt.is64 == (machine == platform::kMachineAmd64);
}

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | static_cast<std::uint32_t>(Le16(p + 2)) << 16; }
std::uint64_t Le64(const std::uint8_t* p) { return Le32(p) | static_cast<std::uint64_t>(Le32(p + 4)) << 32; }

std::uint32_t NtHeadersSize(std::span<const std::uint8_t> fixed) {
  return kNtFixedSize + Le16(&fixed[20]);
}

std::optional<NtHeaders> ParseNtHeaders(std::span<const std::uint8_t> nt) {
  if (nt.size() < kNtFixedSize || nt[0] != 'P' || nt[1] != 'E' || nt[2] != 0 || nt[3] != 0) return std::nullopt;
  NtHeaders h;
  h.machine = Le16(&nt[4]);
  h.sectionCount = Le16(&nt[6]);
  h.sizeOfOptionalHeader = Le16(&nt[20]);
  if (nt.size() < NtHeadersSize(nt) || h.sizeOfOptionalHeader < 2) return std::nullopt;
  const std::uint8_t* opt = &nt[kNtFixedSize];
  const std::uint16_t magic = Le16(opt);
  if (magic != kMagicPe32 && magic != kMagicPe32Plus) return std::nullopt;
  h.is64 = magic == kMagicPe32Plus;
  const OptionalLayout& layout = h.is64 ? kPe32PlusLayout : kPe32Layout;
  if (h.sizeOfOptionalHeader < layout.directories) return std::nullopt;

  h.sizeOfInitializedData = Le32(opt + 8);
  h.sizeOfUninitializedData = Le32(opt + 12);
  h.entryPoint = Le32(opt + 16);
  h.imageBaseOffset = kNtFixedSize + layout.imageBase;
  h.imageBase = h.is64 ? Le64(opt + layout.imageBase) : Le32(opt + layout.imageBase);
  h.sectionAlignment = Le32(opt + 32);
  h.sizeOfImage = Le32(opt + 56);
  h.sizeOfHeaders = Le32(opt + 60);

  const std::uint32_t declared = Le32(opt + layout.directoryCount);
  const std::uint32_t room = (h.sizeOfOptionalHeader - layout.directories) / 8;
  const std::uint32_t count = declared < room ? declared : room;
  auto directory = [&](std::uint32_t index) {
    if (index >= count) return DataDirectory{};
    const std::uint8_t* d = opt + layout.directories + 8 * index;
    return DataDirectory{Le32(d), Le32(d + 4)};
  };
  h.exports = directory(kExportDirectory);
  h.imports = directory(kImportDirectory);
  h.relocations = directory(kRelocationDirectory);
  return h;
}

Section ImageFile::SectionAt(std::uint16_t index) const {
  const std::uint8_t* s = &bytes[ntOffset + nt.SectionTableOffset() + kSectionHeaderSize * index];
  return Section{Le32(s + 12), Le32(s + 16), Le32(s + 20), Le32(s + 36)};
}

std::optional<std::span<const std::uint8_t>> ImageFile::BytesAt(std::uint32_t rva, std::uint32_t size) const {
  if (Within(rva, size, nt.sizeOfHeaders)) return bytes.subspan(rva, size);
  for (std::uint16_t i = 0; i < nt.sectionCount; ++i) {
    const Section s = SectionAt(i);
    if (rva >= s.virtualAddress && Within(rva - s.virtualAddress, size, s.sizeOfRawData))
      return bytes.subspan(s.pointerToRawData + (rva - s.virtualAddress), size);
  }
  return std::nullopt;
}

std::optional<ImageFile> ParseImageFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kDosHeaderSize || bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
  ImageFile file;
  file.bytes = bytes;
  file.ntOffset = Le32(&bytes[kLfanewOffset]);
  if (!Within(file.ntOffset, kNtFixedSize, bytes.size())) return std::nullopt;
  const auto nt = bytes.subspan(file.ntOffset);
  if (!Within(file.ntOffset, NtHeadersSize(nt), bytes.size())) return std::nullopt;
  const auto headers = ParseNtHeaders(nt);
  if (!headers) return std::nullopt;
  file.nt = *headers;

  const std::uint64_t headersEnd =
      std::uint64_t{file.ntOffset} + file.nt.SectionTableOffset() + std::uint64_t{kSectionHeaderSize} * file.nt.sectionCount;
  if (headersEnd > file.nt.sizeOfHeaders || file.nt.sizeOfHeaders > bytes.size() ||
      file.nt.sizeOfHeaders > file.nt.sizeOfImage || file.nt.entryPoint >= file.nt.sizeOfImage)
    return std::nullopt;
  if (!SectionsFit(file) || !RelocationsFit(file)) return std::nullopt;
  return file;
}

}  // namespace app::pe
