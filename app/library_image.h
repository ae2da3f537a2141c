#pragma once
// Maps a DLL image from memory the way the system loader maps a DLL file, and finds its
// exports by name. All memory and every library goes through the loader host.
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/loader_host.h"

namespace app {

struct MappedLibrary {
  platform::ImageAddress ntHeaders = 0;  // the copy of the image's NT headers
  platform::ImageAddress base = 0;
  std::vector<platform::LibraryHandle> imports;  // the libraries loaded for the imports
  bool attached = false;  // the entry point has been called for process attach
};

// None when the bytes are not a well-formed DLL image, or a step of the mapping fails
// (everything mapped or loaded so far is then released).
std::optional<MappedLibrary> MapLibraryImage(platform::LoaderHost& host, std::span<const std::uint8_t> image);

// The address of the export named exactly `name` (case-sensitive), or 0.
platform::ImageAddress FindEntryPoint(platform::LoaderHost& host, const MappedLibrary& library,
                                      std::string_view name);

// Detaches the entry point if it was attached, frees the import libraries and releases
// the image's address space. The record is left empty.
void ReleaseLibraryImage(platform::LoaderHost& host, MappedLibrary& library);

}  // namespace app
