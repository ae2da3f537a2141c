#pragma once
// Maps a DLL image from memory the way the system loader maps a DLL file, and finds its
// exports by name. All memory and every library goes through the loader host.
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/library_image_headers.h"
#include "platform/loader_host.h"

namespace app {

// A mapped library, with what the later lookups and the release need of its headers, as
// they were read before mapping: the copy of the headers inside the image is the library's
// to write, so nothing is read back from it.
struct MappedLibrary {
  platform::ImageAddress base = 0;
  std::uint32_t size = 0;        // SizeOfImage: no lookup reads outside [base, base + size)
  std::uint32_t entryPoint = 0;  // AddressOfEntryPoint; 0: none
  pe::DataDirectory exports;
  std::vector<pe::Extent> unreadable;  // pages the sections' protections left unreadable
  std::vector<platform::LibraryHandle> imports;  // the libraries loaded for the imports
  bool attached = false;  // the entry point has been called for process attach
};

// None when the bytes are not a well-formed DLL image, or one for another machine than the
// host's, or a step of the mapping fails (everything mapped or loaded so far is then released).
std::optional<MappedLibrary> MapLibraryImage(platform::LoaderHost& host, std::span<const std::uint8_t> image);

// The address of the export named exactly `name` (case-sensitive), or 0.
platform::ImageAddress FindEntryPoint(platform::LoaderHost& host, const MappedLibrary& library,
                                      std::string_view name);

// Detaches the entry point if it was attached, frees the import libraries and releases
// the image's address space. The record is left empty.
void ReleaseLibraryImage(platform::LoaderHost& host, MappedLibrary& library);

}  // namespace app
