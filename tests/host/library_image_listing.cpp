#include "tests/host/library_image_listing.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace {

std::uint64_t Hex(const std::string& text) { return std::stoull(text, nullptr, 16); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Listing ParseListing(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  Listing listing;
  const std::regex field(R"(^(Magic|ImageBase|AddressOfEntryPoint|SizeOfImage)\s+([0-9a-fA-F]+).*)");
  const std::regex directory(R"(^Entry 5 ([0-9a-fA-F]+) ([0-9a-fA-F]+) Base Relocation.*)");
  const std::regex section(R"(^\s+\d+ (\.\w+)\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)\s.*)");
  const std::regex descriptor(R"(^ [0-9a-f]{8}\t[0-9a-f]{8} [0-9a-f]{8} [0-9a-f]{8} ([0-9a-f]{8}) ([0-9a-f]{8})$)");
  const std::regex dllName(R"(^\tDLL Name: (.+)$)");
  const std::regex member(R"(^\t([0-9a-f]+)\s+(\d+)\s+(\S+)$)");
  const std::regex relocation(R"(^\treloc\s+\d+ offset\s+[0-9a-f]+ \[([0-9a-f]+)\] (\w+)$)");
  const std::regex exportTable(R"(^\t(Name Pointer|Ordinal) Table\s+([0-9a-f]+)$)");
  const std::regex exportAddress(R"(^\t\[\s*(\d+)\] \+base\[\s*\d+\]\s+([0-9a-f]+) Export RVA$)");
  const std::regex exportName(R"(^\t\[\s*(\d+)\] (\w+)$)");
  std::map<int, std::uint32_t> addresses;
  std::vector<std::pair<int, std::string>> names;
  std::uint32_t pendingThunk = 0;
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, field)) {
      if (m[1] == "Magic") listing.is64 = m[2] == "020b";
      if (m[1] == "ImageBase") listing.imageBase = Hex(m[2]);
      if (m[1] == "AddressOfEntryPoint") listing.entryPoint = static_cast<std::uint32_t>(Hex(m[2]));
      if (m[1] == "SizeOfImage") listing.sizeOfImage = static_cast<std::uint32_t>(Hex(m[2]));
    } else if (std::regex_match(line, m, directory)) {
      listing.relocationTable = static_cast<std::uint32_t>(Hex(m[1]));
    } else if (std::regex_match(line, m, section)) {
      listing.sections.push_back({m[1], static_cast<std::uint32_t>(Hex(m[2])),
                                  static_cast<std::uint32_t>(Hex(m[3]) - listing.imageBase),
                                  static_cast<std::uint32_t>(Hex(m[4]))});
    } else if (std::regex_match(line, m, descriptor)) {
      pendingThunk = static_cast<std::uint32_t>(Hex(m[2]));
    } else if (std::regex_match(line, m, dllName)) {
      listing.imports.push_back({m[1], pendingThunk, {}});
    } else if (!listing.imports.empty() && std::regex_match(line, m, member)) {
      // An import by ordinal lists its lookup entry (flag and ordinal) in the first column.
      const bool byOrdinal = m[3] == "<none>";
      listing.imports.back().members.push_back(byOrdinal ? "#" + std::to_string(Hex(m[1]) & 0xFFFF) : m[3].str());
    } else if (std::regex_match(line, m, relocation)) {
      listing.relocations.push_back({static_cast<std::uint32_t>(Hex(m[1])), m[2]});
    } else if (std::regex_match(line, m, exportTable)) {
      (m[1] == "Ordinal" ? listing.exportOrdinalTable : listing.exportNameTable) =
          static_cast<std::uint32_t>(Hex(m[2]));
    } else if (std::regex_match(line, m, exportAddress)) {
      addresses[std::stoi(m[1])] = static_cast<std::uint32_t>(Hex(m[2]));
    } else if (std::regex_match(line, m, exportName)) {
      names.emplace_back(std::stoi(m[1]), m[2]);
    }
  }
  for (const auto& [index, name] : names) listing.exports[name] = addresses.at(index);
  return listing;
}

}  // namespace

const ListedSection& Listing::Section(const std::string& name) const {
  for (const auto& s : sections)
    if (s.name == name) return s;
  throw std::runtime_error("no section " + name);
}

std::uint32_t Listing::FileOffset(std::uint32_t rva) const {
  const ListedSection* holder = nullptr;
  for (const auto& s : sections)
    if (s.rva <= rva && (!holder || s.rva > holder->rva)) holder = &s;
  if (!holder) throw std::runtime_error("no section holds the RVA");
  return holder->fileOffset + (rva - holder->rva);
}

FixtureDll LoadDll(const std::string& dllPath) { return {ReadBytes(dllPath), ParseListing(dllPath + ".txt")}; }

FixtureDll LoadFixtureDll(const std::string& name) { return LoadDll(std::string(CT_FIXTURE_DIR) + "/" + name + ".dll"); }

}  // namespace testing_support
