// The loader host over this process: VirtualAlloc and friends, the system loader, and
// calls through function pointers with the system's calling convention.
#include <windows.h>

#include "platform/loader_host.h"

namespace platform {

namespace {

template <typename T>
T* At(ImageAddress address) {
  return reinterpret_cast<T*>(static_cast<std::uintptr_t>(address));
}

template <typename Function>
Function FunctionAt(ImageAddress address) {
  return reinterpret_cast<Function>(static_cast<std::uintptr_t>(address));
}

ImageAddress AddressOf(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

using EntryPointFunction = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
using AttachResFunction = int(WINAPI*)(const unsigned char*, int, const char*);
using AdjustHsvFunction = int(WINAPI*)(int, int);
using DetachFunction = int(WINAPI*)();

class SystemHost final : public LoaderHost {
 public:
  std::uint16_t Machine() const override {
#if defined(__x86_64__) || defined(_M_X64)
    return kMachineAmd64;
#elif defined(__i386__) || defined(_M_IX86)
    return kMachineI386;
#else
#error "the library mapper knows the images of x86 and x86_64 only"
#endif
  }
  ImageAddress Reserve(ImageAddress address, std::uint64_t size) override {
    return AddressOf(VirtualAlloc(At<void>(address), static_cast<SIZE_T>(size), MEM_RESERVE, PAGE_READWRITE));
  }
  bool Commit(ImageAddress address, std::uint64_t size) override {
    return VirtualAlloc(At<void>(address), static_cast<SIZE_T>(size), MEM_COMMIT, PAGE_READWRITE) != nullptr;
  }
  bool Protect(ImageAddress address, std::uint64_t size, std::uint32_t protection) override {
    DWORD old = 0;
    return VirtualProtect(At<void>(address), static_cast<SIZE_T>(size), protection, &old) != 0;
  }
  void Decommit(ImageAddress address, std::uint64_t size) override {
    VirtualFree(At<void>(address), static_cast<SIZE_T>(size), MEM_DECOMMIT);
  }
  void Release(ImageAddress base) override { VirtualFree(At<void>(base), 0, MEM_RELEASE); }
  std::span<std::uint8_t> Memory(ImageAddress address, std::uint64_t size) override {
    return {At<std::uint8_t>(address), static_cast<std::size_t>(size)};
  }

  LibraryHandle LoadNamedLibrary(const std::string& name) override {
    return reinterpret_cast<LibraryHandle>(LoadLibraryA(name.c_str()));
  }
  ImageAddress FindFunction(LibraryHandle library, const std::string& name) override {
    return AddressOf(reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name.c_str())));
  }
  ImageAddress FindFunctionByOrdinal(LibraryHandle library, std::uint16_t ordinal) override {
    return AddressOf(reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), MAKEINTRESOURCEA(ordinal))));
  }
  void FreeLoadedLibrary(LibraryHandle library) override { ::FreeLibrary(reinterpret_cast<HMODULE>(library)); }

  bool CallEntryPoint(ImageAddress entryPoint, ImageAddress base, std::uint32_t reason) override {
    return FunctionAt<EntryPointFunction>(entryPoint)(At<HINSTANCE__>(base), reason, nullptr) != FALSE;
  }
  void CallSkinAttachRes(ImageAddress function, std::span<const std::uint8_t> data, const char* password) override {
    FunctionAt<AttachResFunction>(function)(data.data(), static_cast<int>(data.size()), password);
  }
  void CallSkinAdjustHsv(ImageAddress function, std::int32_t hue, std::int32_t saturation) override {
    FunctionAt<AdjustHsvFunction>(function)(hue, saturation);
  }
  void CallSkinDetach(ImageAddress function) override { FunctionAt<DetachFunction>(function)(); }
};

}  // namespace

LoaderHost& SystemLoaderHost() {
  static SystemHost host;
  return host;
}

}  // namespace platform
