#pragma once
// What mapping a library image from memory needs of the system: address space, the system
// loader for the image's imports, and calls into the mapped code. Addresses are those of the
// image's own address space, so a 32-bit image can be mapped (and checked) on a 64-bit host.
#include <cstdint>
#include <span>
#include <string>

namespace platform {

using ImageAddress = std::uint64_t;   // 0: none
using LibraryHandle = std::uintptr_t; // 0: none

// Page protections (VirtualProtect).
inline constexpr std::uint32_t kPageNoAccess = 0x01;
inline constexpr std::uint32_t kPageReadOnly = 0x02;
inline constexpr std::uint32_t kPageReadWrite = 0x04;
inline constexpr std::uint32_t kPageWriteCopy = 0x08;
inline constexpr std::uint32_t kPageExecute = 0x10;
inline constexpr std::uint32_t kPageExecuteRead = 0x20;
inline constexpr std::uint32_t kPageExecuteReadWrite = 0x40;
inline constexpr std::uint32_t kPageExecuteWriteCopy = 0x80;
inline constexpr std::uint32_t kPageNoCache = 0x200;

// Machines of the PE file header (IMAGE_FILE_MACHINE_*).
inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

// Reasons passed to a library's entry point.
inline constexpr std::uint32_t kProcessDetach = 0;
inline constexpr std::uint32_t kProcessAttach = 1;

class LoaderHost {
 public:
  virtual ~LoaderHost() = default;

  // The machine whose code this process runs: the only one whose images it can map and call.
  virtual std::uint16_t Machine() const = 0;

  // VirtualAlloc(MEM_RESERVE, PAGE_READWRITE) of `size` bytes at `address`, or anywhere when
  // `address` is 0: the start of the range, or 0.
  virtual ImageAddress Reserve(ImageAddress address, std::uint64_t size) = 0;
  // VirtualAlloc(MEM_COMMIT, PAGE_READWRITE) inside a reserved range: zero-filled once committed.
  virtual bool Commit(ImageAddress address, std::uint64_t size) = 0;
  virtual bool Protect(ImageAddress address, std::uint64_t size, std::uint32_t protection) = 0;
  virtual void Decommit(ImageAddress address, std::uint64_t size) = 0;
  // Releases the whole range reserved at `base`.
  virtual void Release(ImageAddress base) = 0;
  // The committed bytes at `address`, for the mapper to read and write; empty when the host
  // cannot give them.
  virtual std::span<std::uint8_t> Memory(ImageAddress address, std::uint64_t size) = 0;

  // LoadLibraryA, GetProcAddress by name and by ordinal, FreeLibrary.
  virtual LibraryHandle LoadNamedLibrary(const std::string& name) = 0;
  virtual ImageAddress FindFunction(LibraryHandle library, const std::string& name) = 0;
  virtual ImageAddress FindFunctionByOrdinal(LibraryHandle library, std::uint16_t ordinal) = 0;
  virtual void FreeLoadedLibrary(LibraryHandle library) = 0;

  // Calls into mapped code with the calling convention of the system's API (stdcall on
  // 32-bit Windows). The entry point is BOOL (module, reason, reserved = null).
  virtual bool CallEntryPoint(ImageAddress entryPoint, ImageAddress base, std::uint32_t reason) = 0;
  // The skin library's three calls; their results are not used.
  virtual void CallSkinAttachRes(ImageAddress function, std::span<const std::uint8_t> data,
                                 const char* password) = 0;
  virtual void CallSkinAdjustHsv(ImageAddress function, std::int32_t hue, std::int32_t saturation) = 0;
  virtual void CallSkinDetach(ImageAddress function) = 0;
};

#ifdef _WIN32
// The real host: this process's address space and the system loader.
LoaderHost& SystemLoaderHost();
#endif

}  // namespace platform
