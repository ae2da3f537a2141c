// Arbitrary bytes as a DLL image: MapLibraryImage on the fake loader host of either machine,
// FindEntryPoint with a few names, ReleaseLibraryImage. The host is held to what the system gives: memory that
// the system would not let the mapper touch (outside a reservation, not committed, no access)
// ends the run, since on Windows that touch is an access violation.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

#include "app/library_image.h"
#include "platform/fake/fake_loader_host.h"

namespace {

using platform::ImageAddress;
using platform::LibraryHandle;

// The fake host keeps every reserved byte in memory: larger reservations fail, as they may
// on a system short of address space.
constexpr std::uint64_t kLargestReservation = 16u << 20;

void Fail(const char* what, ImageAddress address, std::uint64_t size) {
  std::fprintf(stderr, "%s: 0x%llx, %llu bytes\n", what, static_cast<unsigned long long>(address),
               static_cast<unsigned long long>(size));
  std::abort();
}

class SystemLikeHost final : public platform::LoaderHost {
 public:
  std::uint16_t Machine() const override { return fake.Machine(); }
  ImageAddress Reserve(ImageAddress address, std::uint64_t size) override {
    if (size > kLargestReservation) return 0;
    const ImageAddress base = fake.Reserve(address, size);
    if (base != 0) reserved.insert(base);
    return base;
  }
  bool Commit(ImageAddress address, std::uint64_t size) override { return fake.Commit(address, size); }
  bool Protect(ImageAddress address, std::uint64_t size, std::uint32_t protection) override {
    return fake.Protect(address, size, protection);
  }
  void Decommit(ImageAddress address, std::uint64_t size) override { fake.Decommit(address, size); }
  void Release(ImageAddress base) override {
    fake.Release(base);
    reserved.erase(base);
  }
  std::span<std::uint8_t> Memory(ImageAddress address, std::uint64_t size) override {
    const std::span<std::uint8_t> bytes = fake.Memory(address, size);
    if (bytes.size() < size) Fail("the mapper touched memory it does not hold", address, size);
    for (std::uint64_t page = address / kPage; page * kPage < address + size; ++page)
      if (fake.ProtectionAt(page * kPage) == platform::kPageNoAccess)
        Fail("the mapper touched memory without access", address, size);
    return bytes;
  }
  LibraryHandle LoadNamedLibrary(const std::string& name) override { return fake.LoadNamedLibrary(name); }
  ImageAddress FindFunction(LibraryHandle library, const std::string& name) override {
    return fake.FindFunction(library, name);
  }
  ImageAddress FindFunctionByOrdinal(LibraryHandle library, std::uint16_t ordinal) override {
    return fake.FindFunctionByOrdinal(library, ordinal);
  }
  void FreeLoadedLibrary(LibraryHandle library) override { fake.FreeLoadedLibrary(library); }
  bool CallEntryPoint(ImageAddress entryPoint, ImageAddress base, std::uint32_t reason) override {
    return fake.CallEntryPoint(entryPoint, base, reason);
  }
  void CallSkinAttachRes(ImageAddress function, std::span<const std::uint8_t> data, const char* password) override {
    fake.CallSkinAttachRes(function, data, password);
  }
  void CallSkinAdjustHsv(ImageAddress function, std::int32_t hue, std::int32_t saturation) override {
    fake.CallSkinAdjustHsv(function, hue, saturation);
  }
  void CallSkinDetach(ImageAddress function) override { fake.CallSkinDetach(function); }

  platform::FakeLoaderHost fake;
  std::set<ImageAddress> reserved;  // reserved and not yet released

 private:
  static constexpr std::uint64_t kPage = platform::FakeLoaderHost::kPageSize;
};

const char* const kNames[] = {"SkinH_AttachRes", "SkinH_AdjustHSV", "SkinH_Detach", "skinh_attachres",
                              "FixtureGreeting", "FixturePointer",  ""};

void MapFindAndRelease(std::span<const std::uint8_t> image, std::uint16_t machine) {
  SystemLikeHost host;
  host.fake.machine = machine;
  std::optional<app::MappedLibrary> library = app::MapLibraryImage(host, image);
  if (library) {
    for (const char* name : kNames) app::FindEntryPoint(host, *library, name);
    app::ReleaseLibraryImage(host, *library);
  }
  // Mapped and released, or refused: either way nothing is left reserved or loaded.
  if (!host.reserved.empty()) Fail("a reservation was left", *host.reserved.begin(), 0);
  if (!host.fake.openLibraries.empty()) Fail("an import library was left loaded", 0, host.fake.openLibraries.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A host of each machine maps the images made for it, and refuses the others.
  for (const std::uint16_t machine : {platform::kMachineI386, platform::kMachineAmd64})
    MapFindAndRelease(std::span(data, size), machine);
  return 0;
}
