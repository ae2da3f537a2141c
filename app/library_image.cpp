#include "app/library_image.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/library_image_headers.h"

namespace app {

using platform::ImageAddress;
using platform::LoaderHost;

namespace {

// Bounded access to a mapped image through the host: every read and write stays inside
// [base, base + SizeOfImage), every write past the headers, and no access touches the pages
// that the sections' protections have left unreadable. (The system host hands out any
// address: a touch outside these bounds would be an access violation.)
class MappedImage {
 public:
  MappedImage(LoaderHost& host, ImageAddress base, std::uint32_t size, std::uint32_t headersSize,
              std::span<const pe::Extent> unreadable = {})
      : host_(host), base_(base), size_(size), headersSize_(headersSize), unreadable_(unreadable) {}

  template <typename T>
  std::optional<T> Read(std::uint64_t rva) const {
    const auto bytes = Bytes(rva, sizeof(T));
    if (bytes.empty()) return std::nullopt;
    T value;
    std::memcpy(&value, bytes.data(), sizeof(T));
    return value;
  }

  template <typename T>
  bool Write(std::uint64_t rva, T value) const {
    if (rva < headersSize_) return false;
    const auto bytes = Bytes(rva, sizeof(T));
    if (bytes.empty()) return false;
    std::memcpy(bytes.data(), &value, sizeof(T));
    return true;
  }

  // A pointer-sized value of the image: 64 bits in a PE32+ image, else 32.
  std::optional<std::uint64_t> ReadWord(std::uint64_t rva, bool is64) const {
    if (is64) return Read<std::uint64_t>(rva);
    const auto value = Read<std::uint32_t>(rva);
    return value ? std::optional<std::uint64_t>(*value) : std::nullopt;
  }

  bool WriteWord(std::uint64_t rva, std::uint64_t value, bool is64) const {
    return is64 ? Write<std::uint64_t>(rva, value) : Write<std::uint32_t>(rva, static_cast<std::uint32_t>(value));
  }

  // A zero-terminated text, or none when it runs to the end of the image.
  std::optional<std::string> Text(std::uint64_t rva) const {
    std::string text;
    for (;; ++rva) {
      const auto c = Read<char>(rva);
      if (!c) return std::nullopt;
      if (*c == '\0') return text;
      text.push_back(*c);
    }
  }

  bool HoldsText(std::uint64_t rva, std::string_view text) const {
    const auto bytes = Bytes(rva, text.size() + 1);
    return !bytes.empty() && std::memcmp(bytes.data(), text.data(), text.size()) == 0 && bytes[text.size()] == 0;
  }

 private:
  std::span<std::uint8_t> Bytes(std::uint64_t rva, std::uint64_t size) const {
    if (rva > size_ || size > size_ - rva) return {};
    for (const pe::Extent& pages : unreadable_)
      if (rva < pages.end && pages.start < rva + size) return {};
    const auto bytes = host_.Memory(base_ + rva, size);
    return bytes.size() < size ? std::span<std::uint8_t>() : bytes;
  }

  LoaderHost& host_;
  ImageAddress base_;
  std::uint32_t size_;
  std::uint32_t headersSize_;
  std::span<const pe::Extent> unreadable_;
};

bool Copy(LoaderHost& host, ImageAddress to, std::span<const std::uint8_t> from) {
  if (!host.Commit(to, from.size())) return false;
  const auto target = host.Memory(to, from.size());
  if (target.size() < from.size()) return false;
  std::memcpy(target.data(), from.data(), from.size());
  return true;
}

bool CopyHeadersAndSections(LoaderHost& host, const pe::ImageFile& file, ImageAddress base) {
  const pe::NtHeaders& nt = file.nt;
  if (!host.Commit(base, nt.sizeOfImage) || !Copy(host, base, file.bytes.first(nt.sizeOfHeaders))) return false;
  // The one change to the headers' copy.
  const MappedImage headers(host, base, nt.sizeOfImage, 0);
  if (!headers.WriteWord(file.ntOffset + nt.imageBaseOffset, base, nt.is64)) return false;

  for (std::uint16_t i = 0; i < nt.sectionCount; ++i) {
    const pe::Section s = file.SectionAt(i);
    const ImageAddress at = base + s.virtualAddress;
    if (s.sizeOfRawData > 0) {
      if (!Copy(host, at, file.bytes.subspan(s.pointerToRawData, s.sizeOfRawData))) return false;
    } else if (nt.sectionAlignment > 0) {
      if (!host.Commit(at, nt.sectionAlignment)) return false;
      const auto zeros = host.Memory(at, nt.sectionAlignment);
      if (zeros.size() < nt.sectionAlignment) return false;
      std::memset(zeros.data(), 0, zeros.size());
    }
  }
  return true;
}

// Sites were checked to lie inside the image when the file was parsed.
void Relocate(const pe::ImageFile& file, const MappedImage& image, ImageAddress base) {
  const std::uint64_t delta = base - file.nt.imageBase;
  if (delta == 0 || file.nt.relocations.size == 0) return;
  const auto table = file.BytesAt(file.nt.relocations.rva, file.nt.relocations.size);
  pe::ForEachRelocation(*table, [&](std::uint16_t type, std::uint64_t rva) {
    if (type == pe::kRelocHighLow) {
      if (const auto value = image.Read<std::uint32_t>(rva))
        image.Write<std::uint32_t>(rva, *value + static_cast<std::uint32_t>(delta));
    } else if (type == pe::kRelocDir64) {
      if (const auto value = image.Read<std::uint64_t>(rva)) image.Write<std::uint64_t>(rva, *value + delta);
    }
  });
}

constexpr std::uint32_t kImportDescriptorSize = 20;

// Fills the thunks of one import descriptor from `library`: false when an entry cannot
// be read or written, or its function is not found.
bool BindThunks(LoaderHost& host, const MappedImage& image, bool is64, std::uint32_t descriptor,
                platform::LibraryHandle library) {
  const auto lookupTable = image.Read<std::uint32_t>(descriptor);
  const auto addressTable = image.Read<std::uint32_t>(descriptor + 16);
  if (!lookupTable || !addressTable) return false;
  const std::uint32_t lookup = *lookupTable != 0 ? *lookupTable : *addressTable;
  const std::uint32_t width = is64 ? 8 : 4;
  const std::uint64_t ordinalFlag = is64 ? 1ull << 63 : 1ull << 31;
  for (std::uint64_t i = 0;; ++i) {
    const std::uint64_t slot = i * width;
    const auto entry = image.ReadWord(lookup + slot, is64);
    if (!entry) return false;
    if (*entry == 0) return true;
    ImageAddress function = 0;
    if (*entry & ordinalFlag) {
      function = host.FindFunctionByOrdinal(library, static_cast<std::uint16_t>(*entry & 0xFFFF));
    } else {
      const auto name = image.Text((*entry & 0x7FFFFFFF) + 2);  // after the 2-byte hint
      if (!name) return false;
      function = host.FindFunction(library, *name);
    }
    if (function == 0) return false;
    if (!image.WriteWord(*addressTable + slot, function, is64)) return false;
  }
}

bool BindImports(LoaderHost& host, const pe::ImageFile& file, const MappedImage& image, MappedLibrary& library) {
  if (file.nt.imports.size == 0) return true;
  for (std::uint64_t descriptor = file.nt.imports.rva;; descriptor += kImportDescriptorSize) {
    const auto nameRva = image.Read<std::uint32_t>(descriptor + 12);
    if (!nameRva || *nameRva == 0) return true;  // an unreadable descriptor ends the table
    const auto name = image.Text(*nameRva);
    if (!name) return false;
    const platform::LibraryHandle handle = host.LoadNamedLibrary(*name);
    if (handle == 0) return false;
    library.imports.push_back(handle);
    if (!BindThunks(host, image, file.nt.is64, static_cast<std::uint32_t>(descriptor), handle)) return false;
  }
}

void ProtectSections(LoaderHost& host, const pe::ImageFile& file, ImageAddress base) {
  for (std::uint16_t i = 0; i < file.nt.sectionCount; ++i) {
    const pe::Section s = file.SectionAt(i);
    const std::uint64_t size = pe::ProtectedSize(file.nt, s);
    if (size == 0) continue;
    if (s.characteristics & pe::kSectionDiscardable) {
      host.Decommit(base + s.virtualAddress, size);
    } else {
      host.Protect(base + s.virtualAddress, size, pe::SectionProtection(s.characteristics));
    }
  }
}

// The pages that the sections' protections leave unreadable.
std::vector<pe::Extent> UnreadablePages(const pe::ImageFile& file) {
  std::vector<pe::Extent> pages;
  for (std::uint16_t i = 0; i < file.nt.sectionCount; ++i) {
    const pe::Extent extent = pe::UnreadablePages(file.nt, file.SectionAt(i));
    if (extent.start < extent.end) pages.push_back(extent);
  }
  return pages;
}

}  // namespace

std::optional<MappedLibrary> MapLibraryImage(LoaderHost& host, std::span<const std::uint8_t> bytes) {
  const auto file = pe::ParseImageFile(bytes);
  // Code of another machine cannot run here: relocated and called, it would crash the process.
  if (!file || !pe::IsImageFor(file->nt, host.Machine())) return std::nullopt;
  const pe::NtHeaders& nt = file->nt;

  ImageAddress base = host.Reserve(nt.imageBase, nt.sizeOfImage);
  if (base == 0) base = host.Reserve(0, nt.sizeOfImage);
  if (base == 0) return std::nullopt;

  MappedLibrary library;
  library.base = base;
  library.size = nt.sizeOfImage;
  library.entryPoint = nt.entryPoint;
  library.exports = nt.exports;
  library.unreadable = UnreadablePages(*file);
  const MappedImage image(host, base, nt.sizeOfImage, nt.sizeOfHeaders);
  if (!CopyHeadersAndSections(host, *file, base)) {
    ReleaseLibraryImage(host, library);
    return std::nullopt;
  }
  Relocate(*file, image, base);
  if (!BindImports(host, *file, image, library)) {
    ReleaseLibraryImage(host, library);
    return std::nullopt;
  }
  ProtectSections(host, *file, base);

  if (nt.entryPoint != 0) {
    if (!host.CallEntryPoint(base + nt.entryPoint, base, platform::kProcessAttach)) {
      ReleaseLibraryImage(host, library);
      return std::nullopt;
    }
    library.attached = true;
  }
  return library;
}

ImageAddress FindEntryPoint(LoaderHost& host, const MappedLibrary& library, std::string_view name) {
  if (library.exports.size == 0) return 0;
  const MappedImage image(host, library.base, library.size, library.size /* read only */,
                          library.unreadable);
  const std::uint64_t directory = library.exports.rva;
  const auto functionCount = image.Read<std::uint32_t>(directory + 20);
  const auto nameCount = image.Read<std::uint32_t>(directory + 24);
  const auto functions = image.Read<std::uint32_t>(directory + 28);
  const auto names = image.Read<std::uint32_t>(directory + 32);
  const auto ordinals = image.Read<std::uint32_t>(directory + 36);
  if (!functionCount || !nameCount || !functions || !names || !ordinals || *functionCount == 0) return 0;

  for (std::uint64_t i = 0; i < *nameCount; ++i) {
    const auto nameRva = image.Read<std::uint32_t>(*names + 4 * i);
    if (!nameRva) return 0;
    if (!image.HoldsText(*nameRva, name)) continue;
    const auto ordinal = image.Read<std::uint16_t>(*ordinals + 2 * i);
    if (!ordinal || *ordinal >= *functionCount) return 0;
    const auto function = image.Read<std::uint32_t>(*functions + 4ull * *ordinal);
    return function && *function != 0 ? library.base + *function : 0;
  }
  return 0;
}

void ReleaseLibraryImage(LoaderHost& host, MappedLibrary& library) {
  if (library.attached) host.CallEntryPoint(library.base + library.entryPoint, library.base, platform::kProcessDetach);
  for (const platform::LibraryHandle handle : library.imports) host.FreeLoadedLibrary(handle);
  host.Release(library.base);
  library = MappedLibrary{};
}

}  // namespace app
