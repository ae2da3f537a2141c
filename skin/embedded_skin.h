#pragma once
// The skin library's image and the skin data, carried inside the program: neither is ever
// read from or written to disk.
#include <cstdint>
#include <span>

namespace app {

// The image of the skin library DLL for the program's own architecture (on the Linux
// build, the 64-bit one, for the tests that map it on the in-memory loader host).
std::span<const std::uint8_t> EmbeddedSkinImage();
// The skin data handed to the library whole (assets/skin.ctskin).
std::span<const std::uint8_t> EmbeddedSkinData();

}  // namespace app
