#include "tests/host/synthetic_image.h"

#include <cstring>

namespace testing_support {

namespace {

constexpr std::uint32_t kNtOffset = 0x40;
constexpr std::uint32_t kHeadersSize = 0x400;
constexpr std::uint32_t kFileAlignment = 0x200;

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int width) {
  std::memcpy(&bytes[at], &value, static_cast<std::size_t>(width));  // little-endian, as the image
}

}  // namespace

std::vector<std::uint8_t> SyntheticImage::Bytes() const {
  std::vector<std::uint8_t> bytes(kHeadersSize);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put(bytes, 0x3C, kNtOffset, 4);
  bytes[kNtOffset] = 'P';
  bytes[kNtOffset + 1] = 'E';

  const std::uint32_t file = kNtOffset + 4;
  const std::uint16_t optionalSize = is64 ? 240 : 224;
  Put(bytes, file, is64 ? 0x8664 : 0x014C, 2);  // Machine
  Put(bytes, file + 2, sections.size(), 2);
  Put(bytes, file + 16, optionalSize, 2);
  Put(bytes, file + 18, 0x2002, 2);  // an executable DLL

  const std::uint32_t opt = file + 20;
  const std::uint32_t sizeOfImage = SectionRva(sections.size()) + kSyntheticPage * pagesAfter;
  Put(bytes, opt, is64 ? 0x20B : 0x10B, 2);
  Put(bytes, opt + 8, sizeOfInitializedData, 4);
  Put(bytes, opt + 12, sizeOfUninitializedData, 4);
  Put(bytes, opt + 16, entryPoint, 4);
  Put(bytes, is64 ? opt + 24 : opt + 28, imageBase, is64 ? 8 : 4);
  Put(bytes, opt + 32, kSyntheticPage, 4);  // SectionAlignment
  Put(bytes, opt + 36, kFileAlignment, 4);
  Put(bytes, opt + 56, sizeOfImage, 4);
  Put(bytes, opt + 60, kHeadersSize, 4);
  const std::uint32_t directories = is64 ? opt + 112 : opt + 96;
  Put(bytes, directories - 4, 16, 4);  // NumberOfRvaAndSizes
  if (relocationSection >= 0) {
    Put(bytes, directories + 5 * 8, SectionRva(static_cast<std::size_t>(relocationSection)), 4);
    Put(bytes, directories + 5 * 8 + 4, sections[static_cast<std::size_t>(relocationSection)].data.size(), 4);
  }

  std::uint32_t header = opt + optionalSize;
  for (std::size_t i = 0; i < sections.size(); ++i, header += 40) {
    const SyntheticSection& s = sections[i];
    const auto size = static_cast<std::uint32_t>(s.data.size());
    const std::uint32_t rawSize = (size + kFileAlignment - 1) / kFileAlignment * kFileAlignment;
    const std::uint32_t rawAt = rawSize > 0 ? static_cast<std::uint32_t>(bytes.size()) : 0;
    Put(bytes, header + 8, kSyntheticPage, 4);  // VirtualSize
    Put(bytes, header + 12, SectionRva(i), 4);
    Put(bytes, header + 16, rawSize, 4);
    Put(bytes, header + 20, rawAt, 4);
    Put(bytes, header + 36, s.characteristics, 4);
    bytes.insert(bytes.end(), s.data.begin(), s.data.end());
    bytes.resize(bytes.size() + (rawSize - s.data.size()));
  }
  return bytes;
}

}  // namespace testing_support
