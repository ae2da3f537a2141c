#pragma once
// An in-memory loader host for tests: reserved ranges are ordinary buffers placed at chosen
// addresses of the image's address space, libraries and their functions are made up on
// demand, and calls into mapped code are recorded instead of run.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/loader_host.h"

namespace platform {

class FakeLoaderHost final : public LoaderHost {
 public:
  static constexpr std::uint64_t kPageSize = 0x1000;

  struct Call {
    enum Kind { EntryPoint, SkinAttachRes, SkinAdjustHsv, SkinDetach } kind;
    ImageAddress function = 0;
    ImageAddress base = 0;        // EntryPoint
    std::uint32_t reason = 0;     // EntryPoint
    const std::uint8_t* data = nullptr;  // SkinAttachRes
    std::size_t length = 0;              // SkinAttachRes
    const char* password = nullptr;      // SkinAttachRes
    std::int32_t hue = 0, saturation = 0;  // SkinAdjustHsv
  };

  // Set up by the test.
  std::uint16_t machine = kMachineAmd64;   // the machine of the process the host stands for
  ImageAddress nextAnywhere = 0x30000000;  // where Reserve(0, ...) places the next range
  std::set<ImageAddress> taken;            // addresses another owner holds: reserving there fails
  bool addressSpaceExhausted = false;      // every Reserve fails
  std::set<std::string> missingLibraries;
  std::set<std::string> missingFunctions;  // "library!function" or "library!#ordinal"
  bool entryPointResult = true;

  // Observed.
  int reservations = 0;  // successful Reserve calls
  std::vector<Call> calls;
  std::vector<std::string> loadedLibraries;  // LoadLibrary names in call order
  std::multiset<LibraryHandle> openLibraries;  // loaded and not yet freed

  // The address FindFunction gives for "library!function" (or "library!#ordinal").
  ImageAddress FunctionAddress(const std::string& library, const std::string& function);
  bool IsReserved(ImageAddress address) const;
  bool IsCommitted(ImageAddress address) const;
  // 0 for an address that is not committed.
  std::uint32_t ProtectionAt(ImageAddress address) const;
  // The whole range reserved at `base`, committed or not (uncommitted bytes read as 0).
  const std::vector<std::uint8_t>& RangeBytes(ImageAddress base) const;

  std::uint16_t Machine() const override { return machine; }
  ImageAddress Reserve(ImageAddress address, std::uint64_t size) override;
  bool Commit(ImageAddress address, std::uint64_t size) override;
  bool Protect(ImageAddress address, std::uint64_t size, std::uint32_t protection) override;
  void Decommit(ImageAddress address, std::uint64_t size) override;
  void Release(ImageAddress base) override;
  std::span<std::uint8_t> Memory(ImageAddress address, std::uint64_t size) override;
  LibraryHandle LoadNamedLibrary(const std::string& name) override;
  ImageAddress FindFunction(LibraryHandle library, const std::string& name) override;
  ImageAddress FindFunctionByOrdinal(LibraryHandle library, std::uint16_t ordinal) override;
  void FreeLoadedLibrary(LibraryHandle library) override;
  bool CallEntryPoint(ImageAddress entryPoint, ImageAddress base, std::uint32_t reason) override;
  void CallSkinAttachRes(ImageAddress function, std::span<const std::uint8_t> data, const char* password) override;
  void CallSkinAdjustHsv(ImageAddress function, std::int32_t hue, std::int32_t saturation) override;
  void CallSkinDetach(ImageAddress function) override;

 private:
  struct Range {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> pageProtection;  // 0: not committed
  };
  // The range holding [address, address + size), and the offset of `address` in it.
  Range* Find(ImageAddress address, std::uint64_t size, std::uint64_t& offset);
  const Range* Find(ImageAddress address) const;
  ImageAddress Lookup(LibraryHandle library, const std::string& function);

  std::map<ImageAddress, Range> ranges_;
  std::vector<std::string> libraryNames_;            // handle - 1 indexes it
  std::map<std::string, ImageAddress> functions_;    // "library!function"
};

}  // namespace platform
