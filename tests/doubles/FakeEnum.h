#pragma once
// A heap enumerator (IEnumPins, IEnumFilters, IEnumMoniker, IEnumMediaTypes). It holds a
// reference on its owner and on each interface item, so a leaked enumerator shows up in
// the owner's count. Media types are handed out as fresh task-allocated copies.
#include "doubles/ComDouble.h"
#include <type_traits>

namespace doubles {

template <class IEnum, class Item, class Held = Item*>
class FakeEnum : public Double<IEnum> {
public:
    FakeEnum(std::string name, Journal* journal, IUnknown* owner, std::vector<Held> items)
        : Double<IEnum>(std::move(name), journal), owner(owner), items(std::move(items)) {
        this->heap = true;
        if (owner) owner->AddRef();
        if constexpr (std::is_pointer_v<Held>) for (Held i : this->items) i->AddRef();
    }
    ~FakeEnum() override {
        if constexpr (std::is_pointer_v<Held>) for (Held i : items) i->Release();
        if (owner) owner->Release();
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item** out, ULONG* fetched) override {
        if (!out || (wanted > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        for (; n < wanted && position < items.size(); ++n, ++position) {
            if constexpr (std::is_pointer_v<Held>) (out[n] = items[position])->AddRef();
            else out[n] = NewMediaType(items[position]);
        }
        if (fetched) *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override { return position = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }  // not used by the program
    HRESULT STDMETHODCALLTYPE Clone(IEnum**) override { return E_NOTIMPL; }

    IUnknown* owner;
    std::vector<Held> items;
    size_t position = 0;
};

using FakeEnumPins = FakeEnum<IEnumPins, IPin>;
using FakeEnumFilters = FakeEnum<IEnumFilters, IBaseFilter>;
using FakeEnumMoniker = FakeEnum<IEnumMoniker, IMoniker>;

}  // namespace doubles
