#include "app/library_image.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/fake/fake_loader_host.h"
#include "tests/host/library_image_listing.h"
#include "tests/host/synthetic_image.h"

namespace {

using app::FindEntryPoint;
using app::MapLibraryImage;
using app::ReleaseLibraryImage;
using platform::FakeLoaderHost;
using testing_support::FixtureDll;
using testing_support::LoadFixtureDll;

constexpr std::uint64_t kElsewhere32 = 0x20000000;
constexpr std::uint64_t kElsewhere64 = 0x7FF600000000;

std::uint64_t ElsewhereFor(const FixtureDll& dll) { return dll.listing.is64 ? kElsewhere64 : kElsewhere32; }

// A host whose process runs the fixture's machine: x86 for a PE32 image, x86_64 for PE32+.
FakeLoaderHost HostFor(const FixtureDll& dll) {
  FakeLoaderHost host;
  host.machine = dll.listing.is64 ? platform::kMachineAmd64 : platform::kMachineI386;
  return host;
}

// A host where the image's preferred base is taken, so that it is mapped elsewhere.
void TakePreferredBase(FakeLoaderHost& host, const FixtureDll& dll) {
  host.taken.insert(dll.listing.imageBase);
  host.nextAnywhere = ElsewhereFor(dll);
}

std::uint64_t ReadValue(const std::vector<std::uint8_t>& bytes, std::uint64_t at, int width) {
  std::uint64_t value = 0;
  std::memcpy(&value, &bytes[at], width);
  return value;
}

std::uint32_t ImportSlotWidth(const FixtureDll& dll) { return dll.listing.is64 ? 8 : 4; }

// The image's bytes placed right before an inaccessible page: reading past them faults.
class GuardedBytes {
 public:
  explicit GuardedBytes(const std::vector<std::uint8_t>& bytes) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    length_ = (bytes.size() + page - 1) / page * page + page;
    void* mapping = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::runtime_error("mmap failed");
    mapping_ = static_cast<std::uint8_t*>(mapping);
    mprotect(mapping_ + length_ - page, page, PROT_NONE);
    data_ = mapping_ + length_ - page - bytes.size();
    std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
  }
  ~GuardedBytes() { munmap(mapping_, length_); }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;
  std::span<const std::uint8_t> span() const { return {data_, size_}; }

 private:
  std::uint8_t* mapping_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t length_ = 0, size_ = 0;
};

class EveryFixture : public testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(Fixtures, EveryFixture,
                         testing::Values("fixture_imports_pe32", "fixture_imports_pe32plus",
                                         "fixture_relocations_pe32", "fixture_relocations_pe32plus"));

TEST_P(EveryFixture, MapsAtThePreferredBaseAndAttachesTheEntryPoint) {
  const FixtureDll dll = LoadFixtureDll(GetParam());
  FakeLoaderHost host = HostFor(dll);
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  EXPECT_EQ(library->base, dll.listing.imageBase);
  EXPECT_EQ(library->size, dll.listing.sizeOfImage);
  EXPECT_TRUE(library->attached);
  EXPECT_EQ(library->imports.size(), dll.listing.imports.size());
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].kind, FakeLoaderHost::Call::EntryPoint);
  EXPECT_EQ(host.calls[0].function, library->base + dll.listing.entryPoint);
  EXPECT_EQ(host.calls[0].base, library->base);
  EXPECT_EQ(host.calls[0].reason, platform::kProcessAttach);

  // Sections that neither relocation nor binding touches at home hold the file's bytes.
  const auto& mapped = host.RangeBytes(library->base);
  for (const char* name : {".text", ".rdata", ".edata"}) {
    const auto& s = dll.listing.Section(name);
    EXPECT_TRUE(std::equal(dll.bytes.begin() + s.fileOffset, dll.bytes.begin() + s.fileOffset + s.size,
                           mapped.begin() + s.rva))
        << name;
  }
}

TEST_P(EveryFixture, MovesEveryRelocationSiteByTheDifferenceAndNothingElse) {
  const FixtureDll dll = LoadFixtureDll(GetParam());
  FakeLoaderHost atHome = HostFor(dll), moved = HostFor(dll);
  TakePreferredBase(moved, dll);
  const auto reference = MapLibraryImage(atHome, dll.bytes);
  const auto library = MapLibraryImage(moved, dll.bytes);
  ASSERT_TRUE(reference && library);
  ASSERT_EQ(library->base, ElsewhereFor(dll));
  const std::uint64_t delta = library->base - dll.listing.imageBase;

  const auto& before = atHome.RangeBytes(reference->base);
  const auto& after = moved.RangeBytes(library->base);
  ASSERT_EQ(before.size(), after.size());
  std::vector<bool> expected(before.size(), false);
  int sites = 0;
  for (const auto& r : dll.listing.relocations) {
    if (r.type != "HIGHLOW" && r.type != "DIR64") continue;
    const int width = r.type == "DIR64" ? 8 : 4;
    const std::uint64_t mask = width == 8 ? ~0ull : 0xFFFFFFFFull;
    EXPECT_EQ(ReadValue(after, r.rva, width), (ReadValue(before, r.rva, width) + delta) & mask) << r.rva;
    std::fill_n(expected.begin() + r.rva, width, true);
    ++sites;
  }
  // The ImageBase field of the header copy holds the actual base.
  const std::uint64_t imageBaseField = ReadValue(dll.bytes, 0x3C, 4) + (dll.listing.is64 ? 48 : 52);
  const int fieldWidth = dll.listing.is64 ? 8 : 4;
  EXPECT_EQ(ReadValue(after, imageBaseField, fieldWidth), library->base);
  std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(imageBaseField), fieldWidth, true);

  EXPECT_GT(sites, 0);
  int unexpected = 0;
  for (std::size_t i = 0; i < before.size(); ++i)
    if (!expected[i] && before[i] != after[i]) ++unexpected;
  EXPECT_EQ(unexpected, 0);
}

class ImportFixture : public testing::TestWithParam<const char*> {};
INSTANTIATE_TEST_SUITE_P(Fixtures, ImportFixture,
                         testing::Values("fixture_imports_pe32", "fixture_imports_pe32plus"));

TEST_P(ImportFixture, BindsImportsByNameAndByOrdinalThroughTheHost) {
  const FixtureDll dll = LoadFixtureDll(GetParam());
  FakeLoaderHost host = HostFor(dll);
  TakePreferredBase(host, dll);  // the thunks must survive relocation too
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  // The libraries are loaded in the order of the image's import descriptors (which the linker chooses).
  std::vector<std::string> descriptorOrder;
  for (const auto& import : dll.listing.imports) descriptorOrder.push_back(import.library);
  EXPECT_EQ(host.loadedLibraries, descriptorOrder);
  EXPECT_THAT(descriptorOrder, testing::UnorderedElementsAre("KERNEL32.dll", "comctl32.dll"));
  EXPECT_EQ(host.openLibraries.size(), 2u);
  for (const auto& import : dll.listing.imports) {
    if (import.library == "comctl32.dll") {
      EXPECT_EQ(import.members, std::vector<std::string>{"#17"});
    }
  }
  const auto& bytes = host.RangeBytes(library->base);
  const std::uint32_t width = ImportSlotWidth(dll);
  for (const auto& import : dll.listing.imports) {
    for (std::size_t i = 0; i < import.members.size(); ++i) {
      const std::uint64_t slot = import.firstThunk + i * width;
      EXPECT_EQ(ReadValue(bytes, slot, static_cast<int>(width)), host.FunctionAddress(import.library, import.members[i]))
          << import.library << "!" << import.members[i];
    }
    EXPECT_EQ(ReadValue(bytes, import.firstThunk + import.members.size() * width, static_cast<int>(width)), 0u);
  }
}

struct ImportFailure {
  const char* name;
  const char* missingLibrary;
  const char* missingFunction;
};

void PrintTo(const ImportFailure& failure, std::ostream* out) { *out << failure.name; }

class FailedImport : public testing::TestWithParam<ImportFailure> {};
INSTANTIATE_TEST_SUITE_P(Cases, FailedImport,
                         testing::Values(ImportFailure{"first library", "KERNEL32.dll", ""},
                                         ImportFailure{"second library", "comctl32.dll", ""},
                                         ImportFailure{"function by name", "", "KERNEL32.dll!lstrlenA"},
                                         ImportFailure{"function by ordinal", "", "comctl32.dll!#17"}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

TEST_P(FailedImport, ReleasesEverythingAndGivesNone) {
  for (const char* fixture : {"fixture_imports_pe32", "fixture_imports_pe32plus"}) {
    const FixtureDll dll = LoadFixtureDll(fixture);
    FakeLoaderHost host = HostFor(dll);
    if (*GetParam().missingLibrary) host.missingLibraries.insert(GetParam().missingLibrary);
    if (*GetParam().missingFunction) host.missingFunctions.insert(GetParam().missingFunction);
    EXPECT_FALSE(MapLibraryImage(host, dll.bytes)) << fixture;
    EXPECT_EQ(host.reservations, 1) << fixture;
    EXPECT_FALSE(host.IsReserved(dll.listing.imageBase)) << fixture;
    EXPECT_TRUE(host.openLibraries.empty()) << fixture;
    EXPECT_TRUE(host.calls.empty()) << fixture;  // the entry point never ran
  }
}

TEST_P(ImportFixture, ThunksInsideTheHeadersAreNotWrittenAndReleaseEverything) {
  FixtureDll dll = LoadFixtureDll(GetParam());
  const std::uint32_t nt = static_cast<std::uint32_t>(ReadValue(dll.bytes, 0x3C, 4));
  const std::uint32_t importDirectory = nt + 24 + (dll.listing.is64 ? 112 : 96) + 8;
  const std::uint32_t descriptor = dll.listing.FileOffset(static_cast<std::uint32_t>(ReadValue(dll.bytes, importDirectory, 4)));
  const std::uint32_t firstThunk = 0x100;  // inside the headers
  std::memcpy(&dll.bytes[descriptor + 16], &firstThunk, 4);
  FakeLoaderHost host = HostFor(dll);
  EXPECT_FALSE(MapLibraryImage(host, dll.bytes));
  EXPECT_EQ(host.reservations, 1);
  EXPECT_FALSE(host.IsReserved(dll.listing.imageBase));
  EXPECT_TRUE(host.openLibraries.empty());
}

TEST(LibraryImage, EntryPointThatRefusesAttachReleasesEverything) {
  for (const char* fixture : {"fixture_failing_pe32", "fixture_failing_pe32plus"}) {
    const FixtureDll dll = LoadFixtureDll(fixture);
    FakeLoaderHost host = HostFor(dll);
    host.entryPointResult = false;
    EXPECT_FALSE(MapLibraryImage(host, dll.bytes)) << fixture;
    EXPECT_FALSE(host.IsReserved(dll.listing.imageBase)) << fixture;
    EXPECT_EQ(host.loadedLibraries.size(), 1u) << fixture;
    EXPECT_TRUE(host.openLibraries.empty()) << fixture;
    ASSERT_EQ(host.calls.size(), 1u) << fixture;  // attach only: no detach of what never attached
    EXPECT_EQ(host.calls[0].reason, platform::kProcessAttach);
  }
}

TEST(LibraryImage, ReleaseDetachesFreesTheImportsAndTheAddressSpace) {
  const FixtureDll dll = LoadFixtureDll("fixture_imports_pe32plus");
  FakeLoaderHost host = HostFor(dll);
  auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  const std::uint64_t base = library->base;
  ReleaseLibraryImage(host, *library);
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[1].reason, platform::kProcessDetach);
  EXPECT_EQ(host.calls[1].function, base + dll.listing.entryPoint);
  EXPECT_TRUE(host.openLibraries.empty());
  EXPECT_FALSE(host.IsReserved(base));
}

TEST(LibraryImage, MapsAnywhereWhenThePreferredBaseIsTakenAndFailsWithoutAddressSpace) {
  const FixtureDll dll = LoadFixtureDll("fixture_relocations_pe32");
  FakeLoaderHost host = HostFor(dll);
  TakePreferredBase(host, dll);
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  EXPECT_EQ(library->base, kElsewhere32);

  FakeLoaderHost full = HostFor(dll);
  full.addressSpaceExhausted = true;
  EXPECT_FALSE(MapLibraryImage(full, dll.bytes));
  EXPECT_TRUE(full.calls.empty());
}

TEST_P(ImportFixture, ProtectsEachSectionByItsCharacteristics) {
  const FixtureDll dll = LoadFixtureDll(GetParam());
  FakeLoaderHost host = HostFor(dll);
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  const std::map<std::string, std::uint32_t> expected = {
      {".text", platform::kPageExecuteRead}, {".data", platform::kPageReadWrite},
      {".rdata", platform::kPageReadOnly},   {".bss", platform::kPageReadWrite},
      {".edata", platform::kPageReadOnly},   {".idata", platform::kPageReadWrite}};
  for (const auto& [name, protection] : expected)
    EXPECT_EQ(host.ProtectionAt(library->base + dll.listing.Section(name).rva), protection) << name;
  EXPECT_FALSE(host.IsCommitted(library->base + dll.listing.Section(".reloc").rva));  // discardable
  EXPECT_TRUE(host.IsReserved(library->base + dll.listing.Section(".reloc").rva));
}

TEST_P(ImportFixture, FindsExportsByTheirExactName) {
  const FixtureDll dll = LoadFixtureDll(GetParam());
  FakeLoaderHost host = HostFor(dll);
  TakePreferredBase(host, dll);
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  ASSERT_EQ(dll.listing.exports.size(), 5u);
  for (const auto& [name, rva] : dll.listing.exports)
    EXPECT_EQ(FindEntryPoint(host, *library, name), library->base + rva) << name;
  for (const char* near : {"fixturegreeting", "FIXTUREGREETING", "FixtureGreetin", "FixtureGreetingX", "", "Fixture"})
    EXPECT_EQ(FindEntryPoint(host, *library, near), 0u) << near;
}

TEST(LibraryImage, ExportWhoseOrdinalLiesBeyondTheFunctionTableIsNotFound) {
  FixtureDll dll = LoadFixtureDll("fixture_imports_pe32plus");
  // The first name's ordinal, pointed past the five functions.
  const std::uint32_t ordinalAt = dll.listing.FileOffset(dll.listing.exportOrdinalTable);
  dll.bytes[ordinalAt] = 5;
  dll.bytes[ordinalAt + 1] = 0;
  FakeLoaderHost host = HostFor(dll);
  const auto library = MapLibraryImage(host, dll.bytes);
  ASSERT_TRUE(library);
  EXPECT_EQ(FindEntryPoint(host, *library, dll.listing.exports.begin()->first), 0u);
  EXPECT_NE(FindEntryPoint(host, *library, std::next(dll.listing.exports.begin())->first), 0u);
}

struct BadImage {
  const char* name;
  void (*spoil)(FixtureDll& dll);
};

void PutLe16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) { std::memcpy(&bytes[at], &value, 2); }
void PutLe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) { std::memcpy(&bytes[at], &value, 4); }
std::uint32_t NtOffset(const FixtureDll& dll) { return static_cast<std::uint32_t>(ReadValue(dll.bytes, 0x3C, 4)); }

// The file offset of the header of section `index`.
std::uint32_t SectionHeader(const FixtureDll& dll, int index) {
  return NtOffset(dll) + 24 + static_cast<std::uint32_t>(ReadValue(dll.bytes, NtOffset(dll) + 20, 2)) + 40 * index;
}

// Moves the first section onto the headers' page, right after them, with `characteristics`.
void OntoTheHeadersPage(FixtureDll& dll, std::uint32_t characteristics) {
  PutLe32(dll.bytes, SectionHeader(dll, 0) + 12, 0x400);  // SizeOfHeaders
  PutLe32(dll.bytes, SectionHeader(dll, 0) + 36, characteristics);
}

std::uint32_t LastSectionData(const FixtureDll& dll) {
  std::uint32_t last = 0;
  for (const auto& s : dll.listing.sections) last = std::max(last, s.fileOffset);
  return last;
}

const BadImage kBadImages[] = {
    {"no MZ", [](FixtureDll& d) { d.bytes[1] = 'X'; }},
    {"no PE", [](FixtureDll& d) { d.bytes[NtOffset(d)] = 'X'; }},
    {"PE without its two zero bytes", [](FixtureDll& d) { d.bytes[NtOffset(d) + 3] = 1; }},
    {"shorter than a DOS header", [](FixtureDll& d) { d.bytes.resize(0x30); }},
    {"NT headers beyond the end", [](FixtureDll& d) { PutLe32(d.bytes, 0x3C, 0x7FFFFFF0); }},
    {"truncated in the optional header", [](FixtureDll& d) { d.bytes.resize(NtOffset(d) + 24 + 40); }},
    {"truncated in the section table", [](FixtureDll& d) { d.bytes.resize(NtOffset(d) + 24 + 240 + 20); }},
    {"section data beyond the end", [](FixtureDll& d) { d.bytes.resize(LastSectionData(d) + 16); }},
    {"relocation block overruns its table",
     [](FixtureDll& d) { PutLe32(d.bytes, d.listing.FileOffset(d.listing.relocationTable) + 4, 0x1000); }},
    {"relocation block shorter than its header",
     [](FixtureDll& d) { PutLe32(d.bytes, d.listing.FileOffset(d.listing.relocationTable) + 4, 4); }},
    {"relocation site beyond the image",
     [](FixtureDll& d) { PutLe32(d.bytes, d.listing.FileOffset(d.listing.relocationTable), d.listing.sizeOfImage); }},
    // In every image a linker makes, sections and relocation sites lie past the headers: an
    // image that would change its own headers when mapped, or take their page away, is refused.
    {"section inside the headers", [](FixtureDll& d) { PutLe32(d.bytes, SectionHeader(d, 0) + 12, 0x200); }},
    {"relocation site inside the headers",
     [](FixtureDll& d) { PutLe32(d.bytes, d.listing.FileOffset(d.listing.relocationTable), 0); }},
    {"discardable section on the headers' page", [](FixtureDll& d) { OntoTheHeadersPage(d, 0x42000040); }},
    {"inaccessible section on the headers' page", [](FixtureDll& d) { OntoTheHeadersPage(d, 0x00000040); }},
};

TEST(LibraryImage, RefusesBadImagesWithoutReadingOutsideThemOrAllocating) {
  for (const char* fixture : {"fixture_relocations_pe32", "fixture_relocations_pe32plus"}) {
    for (const BadImage& bad : kBadImages) {
      FixtureDll dll = LoadFixtureDll(fixture);
      bad.spoil(dll);
      const GuardedBytes guarded(dll.bytes);
      FakeLoaderHost host = HostFor(dll);
      EXPECT_FALSE(MapLibraryImage(host, guarded.span())) << fixture << ": " << bad.name;
      EXPECT_EQ(host.reservations, 0) << fixture << ": " << bad.name;
      EXPECT_TRUE(host.loadedLibraries.empty()) << fixture << ": " << bad.name;
    }
  }
}

TEST(LibraryImage, SoundImagesMapFromGuardedBytes) {
  for (const char* fixture : {"fixture_relocations_pe32", "fixture_imports_pe32plus"}) {
    const FixtureDll dll = LoadFixtureDll(fixture);
    const GuardedBytes guarded(dll.bytes);
    FakeLoaderHost host = HostFor(dll);
    EXPECT_TRUE(MapLibraryImage(host, guarded.span())) << fixture;
  }
}

// Code of another machine would be relocated and its entry point run, and crash the process:
// such an image is refused as it stands, and so is one whose optional header has the form of
// another machine than the one it claims.
TEST(LibraryImage, RefusesAnImageOfAnotherMachineWithoutAllocating) {
  struct Case {
    const char* what;
    const char* fixture;
    std::uint16_t claimedMachine;  // written into the file header; 0: as built
    std::uint16_t processMachine;
  };
  const Case cases[] = {
      {"x86 image, x86_64 process", "fixture_imports_pe32", 0, platform::kMachineAmd64},
      {"x86_64 image, x86 process", "fixture_imports_pe32plus", 0, platform::kMachineI386},
      {"PE32+ image claiming x86, x86 process", "fixture_imports_pe32plus", platform::kMachineI386,
       platform::kMachineI386},
      {"PE32 image claiming x86_64, x86_64 process", "fixture_imports_pe32", platform::kMachineAmd64,
       platform::kMachineAmd64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FixtureDll dll = LoadFixtureDll(c.fixture);
    if (c.claimedMachine != 0) PutLe16(dll.bytes, NtOffset(dll) + 4, c.claimedMachine);
    FakeLoaderHost host;
    host.machine = c.processMachine;
    EXPECT_FALSE(MapLibraryImage(host, dll.bytes));
    EXPECT_EQ(host.reservations, 0);
    EXPECT_TRUE(host.loadedLibraries.empty());
    EXPECT_TRUE(host.calls.empty());
  }
}

// The copy of the headers in the mapped image lies on a page the library's own code may
// write: the lookups and the release go by what was read before mapping, inside the image.
TEST_P(ImportFixture, WhatTheLibraryWritesIntoItsHeadersMisleadsNoLookupAndNoRelease) {
  struct Overwrite {
    const char* what;
    void (*spoil)(std::span<std::uint8_t> headers, const FixtureDll& dll);
  };
  const Overwrite overwrites[] = {
      {"garbage",
       [](std::span<std::uint8_t> headers, const FixtureDll&) { std::fill(headers.begin(), headers.end(), 0xA5); }},
      {"an export directory far past a larger image, another entry point",
       [](std::span<std::uint8_t> headers, const FixtureDll& dll) {
         const std::uint32_t optional = NtOffset(dll) + 24;
         PutLe32(headers, optional + 16, 0x10);          // AddressOfEntryPoint
         PutLe32(headers, optional + 56, 0xFFFFF000);    // SizeOfImage
         const std::uint32_t exports = optional + (dll.listing.is64 ? 112 : 96);
         PutLe32(headers, exports, 0x7FFF0000);
         PutLe32(headers, exports + 4, 0x1000);
       }},
  };
  for (const Overwrite& overwrite : overwrites) {
    SCOPED_TRACE(overwrite.what);
    const FixtureDll dll = LoadFixtureDll(GetParam());
    FakeLoaderHost host = HostFor(dll);
    auto library = MapLibraryImage(host, dll.bytes);
    ASSERT_TRUE(library);
    const std::uint64_t base = library->base;
    overwrite.spoil(host.Memory(base, FakeLoaderHost::kPageSize), dll);
    for (const auto& [name, rva] : dll.listing.exports)
      EXPECT_EQ(FindEntryPoint(host, *library, name), base + rva) << name;
    ReleaseLibraryImage(host, *library);
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[1].function, base + dll.listing.entryPoint);
    EXPECT_EQ(host.calls[1].reason, platform::kProcessDetach);
  }
}

// Synthetic images: the cases that the fixture DLLs do not hold.

constexpr std::uint32_t kExecute = 0x20000000;
constexpr std::uint32_t kRead = 0x40000000;
constexpr std::uint32_t kWrite = 0x80000000;
constexpr std::uint32_t kNotCached = 0x04000000;
constexpr std::uint32_t kDiscardable = 0x02000000;
constexpr std::uint32_t kInitialisedData = 0x40;
constexpr std::uint32_t kUninitialisedData = 0x80;

std::vector<std::uint8_t> RawData(std::size_t size) { return std::vector<std::uint8_t>(size, 0x5A); }

TEST(LibraryImage, ProtectsEachSectionAsItsExecuteReadWriteAndCacheFlagsSelect) {
  struct Case {
    const char* what;
    std::uint32_t characteristics;
    std::uint32_t protection;
  };
  const Case cases[] = {
      {"none", 0, platform::kPageNoAccess},
      {"write", kWrite, platform::kPageWriteCopy},
      {"read", kRead, platform::kPageReadOnly},
      {"read write", kRead | kWrite, platform::kPageReadWrite},
      {"execute", kExecute, platform::kPageExecute},
      {"execute write", kExecute | kWrite, platform::kPageExecuteWriteCopy},
      {"execute read", kExecute | kRead, platform::kPageExecuteRead},
      {"execute read write", kExecute | kRead | kWrite, platform::kPageExecuteReadWrite},
  };
  testing_support::SyntheticImage synthetic;
  for (const bool notCached : {false, true})
    for (const Case& c : cases)
      synthetic.sections.push_back(
          {c.characteristics | (notCached ? kNotCached : 0) | kInitialisedData, RawData(0x200)});
  FakeLoaderHost host;
  const auto library = MapLibraryImage(host, synthetic.Bytes());
  ASSERT_TRUE(library);
  std::size_t section = 0;
  for (const bool notCached : {false, true})
    for (const Case& c : cases)
      EXPECT_EQ(host.ProtectionAt(library->base + synthetic.SectionRva(section++)),
                c.protection | (notCached ? platform::kPageNoCache : 0))
          << c.what << (notCached ? ", not cached" : "");
}

TEST(LibraryImage, ProtectsASectionWithoutRawDataAsFarAsTheImagesSizeOfItsKindOfData) {
  struct Case {
    const char* what;
    std::uint32_t kind;
    std::size_t rawSize;
    std::uint32_t initialisedData, uninitialisedData;  // the image's sizes
    std::uint32_t protectedPages;
  };
  const Case cases[] = {
      {"raw data: its own size", kInitialisedData, 0x200, 0x3000, 0, 1},
      {"initialised data: SizeOfInitializedData", kInitialisedData, 0, 0x2800, 0x1000, 3},
      {"uninitialised data: SizeOfUninitializedData", kUninitialisedData, 0, 0x2800, 0x1800, 2},
      {"a size of 0: skipped", kUninitialisedData, 0, 0x2800, 0, 0},
      {"neither kind of data: skipped", 0, 0, 0x2800, 0x1800, 0},
      {"more than the image holds: up to its end", kInitialisedData, 0, 0x100000, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::SyntheticImage synthetic;
    synthetic.sizeOfInitializedData = c.initialisedData;
    synthetic.sizeOfUninitializedData = c.uninitialisedData;
    synthetic.sections.push_back({kRead | c.kind, RawData(c.rawSize)});
    synthetic.pagesAfter = 4;
    FakeLoaderHost host;
    const auto library = MapLibraryImage(host, synthetic.Bytes());
    ASSERT_TRUE(library);
    for (std::uint32_t page = 0; page < 5; ++page)  // the section's page and the four after it
      EXPECT_EQ(host.ProtectionAt(library->base + synthetic.SectionRva(0) + page * FakeLoaderHost::kPageSize),
                page < c.protectedPages ? platform::kPageReadOnly : platform::kPageReadWrite)
          << "page " << page;
  }
}

TEST(LibraryImage, RelocatesHighLowAndDir64EntriesAndLeavesEveryOtherTypeAlone) {
  constexpr std::uint64_t kValue = 0x1122334455667788;
  const std::uint16_t types[] = {3 /* HIGHLOW */, 10 /* DIR64 */, 0, 1, 2, 5, 7, 8, 9, 11, 15};
  std::vector<std::uint8_t> data(0x200);
  for (std::size_t at = 0; at < data.size(); at += 8) std::memcpy(&data[at], &kValue, 8);
  std::vector<std::uint8_t> table(8);
  PutLe32(table, 0, testing_support::SyntheticImage::SectionRva(0));
  for (std::size_t i = 0; i < std::size(types); ++i) {
    const std::uint16_t entry = static_cast<std::uint16_t>(types[i] << 12 | i * 0x10);  // one site every 16 bytes
    table.push_back(static_cast<std::uint8_t>(entry));
    table.push_back(static_cast<std::uint8_t>(entry >> 8));
  }
  PutLe32(table, 4, static_cast<std::uint32_t>(table.size()));
  testing_support::SyntheticImage synthetic;
  synthetic.sections = {{kRead | kWrite | kInitialisedData, data}, {kRead | kDiscardable | kInitialisedData, table}};
  synthetic.relocationSection = 1;

  FakeLoaderHost host;
  host.taken.insert(synthetic.imageBase);
  host.nextAnywhere = kElsewhere64;
  const auto library = MapLibraryImage(host, synthetic.Bytes());
  ASSERT_TRUE(library);
  ASSERT_EQ(library->base, kElsewhere64);
  const std::uint64_t delta = kElsewhere64 - synthetic.imageBase;
  const auto& mapped = host.RangeBytes(library->base);
  const std::uint64_t sites = synthetic.SectionRva(0);
  EXPECT_EQ(ReadValue(mapped, sites, 8), (kValue & 0xFFFFFFFF00000000) | ((kValue + delta) & 0xFFFFFFFF)) << "HIGHLOW";
  EXPECT_EQ(ReadValue(mapped, sites + 0x10, 8), kValue + delta) << "DIR64";
  for (std::size_t i = 2; i < std::size(types); ++i)
    EXPECT_EQ(ReadValue(mapped, sites + i * 0x10, 8), kValue) << "type " << types[i];
}

TEST(LibraryImage, AnImageWithoutEntryPointMapsAndIsReleasedWithoutCallingIt) {
  for (const bool is64 : {false, true}) {
    SCOPED_TRACE(is64 ? "PE32+" : "PE32");
    testing_support::SyntheticImage synthetic;
    synthetic.is64 = is64;
    synthetic.imageBase = is64 ? 0x180000000 : 0x10000000;
    synthetic.sections.push_back({kExecute | kRead, RawData(0x200)});
    FakeLoaderHost host;
    host.machine = is64 ? platform::kMachineAmd64 : platform::kMachineI386;
    auto library = MapLibraryImage(host, synthetic.Bytes());
    ASSERT_TRUE(library);
    EXPECT_FALSE(library->attached);
    const std::uint64_t base = library->base;
    EXPECT_EQ(host.ProtectionAt(base + synthetic.SectionRva(0)), platform::kPageExecuteRead);
    ReleaseLibraryImage(host, *library);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(host.IsReserved(base));
  }
}

}  // namespace
