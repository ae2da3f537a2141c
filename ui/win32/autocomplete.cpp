#include "ui/win32/autocomplete.h"

#include <objbase.h>
#include <shldisp.h>
#include <shlguid.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace ui::win32 {

namespace {

// The list the drop-down shows: the source's suggestions, asked afresh whenever the
// autocomplete object starts the list over (it does so each time it builds the drop-down). The
// object may walk the list from a thread of its own; it walks one list from one thread.
class SuggestionList final : public IEnumString {
 public:
  explicit SuggestionList(SuggestionSource source) : source_(std::move(source)), names_(source_()) {}
  SuggestionList(const SuggestionList& other) : source_(other.source_), names_(other.names_), next_(other.next_) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IEnumString) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IEnumString*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, LPOLESTR* strings, ULONG* fetched) override {
    if (!strings || (count > 1 && !fetched)) return E_INVALIDARG;
    ULONG given = 0;
    for (; given < count && next_ < names_.size(); ++given, ++next_) {
      const std::u16string& name = names_[next_];
      const std::size_t bytes = (name.size() + 1) * sizeof(char16_t);
      auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
      if (!copy) break;
      std::memcpy(copy, name.c_str(), bytes);
      strings[given] = copy;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    next_ = std::min<std::size_t>(names_.size(), next_ + count);
    return next_ < names_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    names_ = source_();
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumString** copy) override {
    if (!copy) return E_POINTER;
    *copy = new SuggestionList(*this);
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{1};
  SuggestionSource source_;
  std::vector<std::u16string> names_;
  std::size_t next_ = 0;
};

}  // namespace

void AttachAutoComplete(HWND edit, SuggestionSource source) {
  // The thread stays in COM from here on: the object lives as long as the edit box. A thread
  // that is in COM already keeps its apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAutoComplete2* complete = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                              reinterpret_cast<void**>(&complete))))
    return;
  auto* list = new SuggestionList(std::move(source));
  if (SUCCEEDED(complete->Init(edit, list, nullptr, nullptr)))
    complete->SetOptions(ACO_AUTOSUGGEST | ACO_UPDOWNKEYDROPSLIST);
  // Attached, the object holds itself and the list until the edit box is destroyed.
  list->Release();
  complete->Release();
}

}  // namespace ui::win32
