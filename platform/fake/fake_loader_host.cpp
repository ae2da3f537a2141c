#include "platform/fake/fake_loader_host.h"

#include <algorithm>

namespace platform {

namespace {

constexpr ImageAddress kFirstFunction = 0x7E000000;  // fits the thunks of a 32-bit image
constexpr ImageAddress kReservationGranularity = 0x10000;

std::uint64_t PagesFor(std::uint64_t size) {
  return (size + FakeLoaderHost::kPageSize - 1) / FakeLoaderHost::kPageSize;
}

}  // namespace

FakeLoaderHost::Range* FakeLoaderHost::Find(ImageAddress address, std::uint64_t size, std::uint64_t& offset) {
  auto it = ranges_.upper_bound(address);
  if (it == ranges_.begin()) return nullptr;
  --it;
  offset = address - it->first;
  if (offset > it->second.bytes.size() || size > it->second.bytes.size() - offset) return nullptr;
  return &it->second;
}

const FakeLoaderHost::Range* FakeLoaderHost::Find(ImageAddress address) const {
  auto it = ranges_.upper_bound(address);
  if (it == ranges_.begin()) return nullptr;
  --it;
  return address - it->first < it->second.bytes.size() ? &it->second : nullptr;
}

bool FakeLoaderHost::IsReserved(ImageAddress address) const { return Find(address) != nullptr; }

std::uint32_t FakeLoaderHost::ProtectionAt(ImageAddress address) const {
  const Range* range = Find(address);
  if (!range) return 0;
  const ImageAddress start = std::prev(ranges_.upper_bound(address))->first;
  return range->pageProtection[(address - start) / kPageSize];
}

bool FakeLoaderHost::IsCommitted(ImageAddress address) const { return ProtectionAt(address) != 0; }

const std::vector<std::uint8_t>& FakeLoaderHost::RangeBytes(ImageAddress base) const {
  return ranges_.at(base).bytes;
}

ImageAddress FakeLoaderHost::Reserve(ImageAddress address, std::uint64_t size) {
  if (addressSpaceExhausted || size == 0) return 0;
  if (address == 0) {
    address = nextAnywhere;
    nextAnywhere += (size + kReservationGranularity - 1) / kReservationGranularity * kReservationGranularity;
  }
  const ImageAddress end = address + PagesFor(size) * kPageSize;
  const bool overlapsTaken = taken.lower_bound(address) != taken.lower_bound(end);
  const bool overlapsRange = std::any_of(ranges_.begin(), ranges_.end(), [&](const auto& r) {
    return r.first < end && address < r.first + r.second.bytes.size();
  });
  if (address % kReservationGranularity != 0 || overlapsTaken || overlapsRange) return 0;
  ranges_[address] = Range{std::vector<std::uint8_t>(PagesFor(size) * kPageSize),
                           std::vector<std::uint32_t>(PagesFor(size), 0)};
  ++reservations;
  return address;
}

bool FakeLoaderHost::Commit(ImageAddress address, std::uint64_t size) {
  std::uint64_t offset = 0;
  Range* range = Find(address, size, offset);
  if (!range) return false;
  for (std::uint64_t page = offset / kPageSize; page < PagesFor(offset + size); ++page)
    if (range->pageProtection[page] == 0) range->pageProtection[page] = kPageReadWrite;
  return true;
}

bool FakeLoaderHost::Protect(ImageAddress address, std::uint64_t size, std::uint32_t protection) {
  std::uint64_t offset = 0;
  Range* range = Find(address, size, offset);
  if (!range) return false;
  const std::uint64_t first = offset / kPageSize, last = PagesFor(offset + size);
  for (std::uint64_t page = first; page < last; ++page)
    if (range->pageProtection[page] == 0) return false;
  for (std::uint64_t page = first; page < last; ++page) range->pageProtection[page] = protection;
  return true;
}

void FakeLoaderHost::Decommit(ImageAddress address, std::uint64_t size) {
  std::uint64_t offset = 0;
  Range* range = Find(address, size, offset);
  if (!range) return;
  for (std::uint64_t page = offset / kPageSize; page < PagesFor(offset + size); ++page) {
    range->pageProtection[page] = 0;
    std::fill_n(range->bytes.begin() + static_cast<std::ptrdiff_t>(page * kPageSize), kPageSize, 0);
  }
}

void FakeLoaderHost::Release(ImageAddress base) { ranges_.erase(base); }

std::span<std::uint8_t> FakeLoaderHost::Memory(ImageAddress address, std::uint64_t size) {
  std::uint64_t offset = 0;
  Range* range = Find(address, size, offset);
  if (!range) return {};
  for (std::uint64_t page = offset / kPageSize; page < PagesFor(offset + size); ++page)
    if (range->pageProtection[page] == 0) return {};
  return std::span<std::uint8_t>(range->bytes).subspan(offset, size);
}

LibraryHandle FakeLoaderHost::LoadNamedLibrary(const std::string& name) {
  loadedLibraries.push_back(name);
  if (missingLibraries.count(name)) return 0;
  auto it = std::find(libraryNames_.begin(), libraryNames_.end(), name);
  if (it == libraryNames_.end()) it = libraryNames_.insert(libraryNames_.end(), name);
  const LibraryHandle handle = static_cast<LibraryHandle>(it - libraryNames_.begin()) + 1;
  openLibraries.insert(handle);
  return handle;
}

ImageAddress FakeLoaderHost::FunctionAddress(const std::string& library, const std::string& function) {
  const std::string key = library + "!" + function;
  if (missingFunctions.count(key)) return 0;
  const auto [it, added] = functions_.try_emplace(key, kFirstFunction + 0x10 * functions_.size());
  return it->second;
}

ImageAddress FakeLoaderHost::Lookup(LibraryHandle library, const std::string& function) {
  if (library == 0 || library > libraryNames_.size() || !openLibraries.count(library)) return 0;
  return FunctionAddress(libraryNames_[library - 1], function);
}

ImageAddress FakeLoaderHost::FindFunction(LibraryHandle library, const std::string& name) {
  return Lookup(library, name);
}

ImageAddress FakeLoaderHost::FindFunctionByOrdinal(LibraryHandle library, std::uint16_t ordinal) {
  std::string name = "#";
  name += std::to_string(ordinal);
  return Lookup(library, name);
}

void FakeLoaderHost::FreeLoadedLibrary(LibraryHandle library) {
  const auto it = openLibraries.find(library);
  if (it != openLibraries.end()) openLibraries.erase(it);
}

bool FakeLoaderHost::CallEntryPoint(ImageAddress entryPoint, ImageAddress base, std::uint32_t reason) {
  calls.push_back(Call{.kind = Call::EntryPoint, .function = entryPoint, .base = base, .reason = reason});
  return entryPointResult;
}

void FakeLoaderHost::CallSkinAttachRes(ImageAddress function, std::span<const std::uint8_t> data,
                                       const char* password) {
  calls.push_back(Call{.kind = Call::SkinAttachRes, .function = function, .data = data.data(),
                       .length = data.size(), .password = password});
}

void FakeLoaderHost::CallSkinAdjustHsv(ImageAddress function, std::int32_t hue, std::int32_t saturation) {
  calls.push_back(Call{.kind = Call::SkinAdjustHsv, .function = function, .hue = hue, .saturation = saturation});
}

void FakeLoaderHost::CallSkinDetach(ImageAddress function) {
  calls.push_back(Call{.kind = Call::SkinDetach, .function = function});
}

}  // namespace platform
