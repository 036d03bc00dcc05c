#pragma once
// A heap enumerator over interface pointers (IEnumPins, IEnumFilters, IEnumMoniker). It
// holds one reference on each item and on its owner, so a leaked enumerator shows up
// in the owner's count.
#include "doubles/ComDouble.h"

namespace doubles {

template <class IEnum, class Item>
class FakeEnum : public ComDouble, public IEnum {
public:
    FakeEnum(std::string name, Journal* journal, IUnknown* owner, std::vector<Item*> items)
        : ComDouble(std::move(name), journal), owner(owner), items(std::move(items)) {
        heap = true;
        if (owner) owner->AddRef();
        for (Item* i : this->items) i->AddRef();
    }
    ~FakeEnum() override {
        for (Item* i : items) i->Release();
        if (owner) owner->Release();
    }
    DOUBLE_IUNKNOWN

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, Item** out, ULONG* fetched) override {
        if (!out || (wanted > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        for (; n < wanted && position < items.size(); ++n, ++position) {
            out[n] = items[position];
            out[n]->AddRef();
        }
        if (fetched) *fetched = n;
        return n == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override {
        position += n;
        if (position <= items.size()) return S_OK;
        position = items.size();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnum** out) override {
        if (!out) return E_POINTER;
        auto* copy = new FakeEnum(name, journal, owner, items);
        copy->position = position;
        *out = copy;
        return S_OK;
    }

    IUnknown* owner;
    std::vector<Item*> items;
    size_t position = 0;

protected:
    void* Native(REFIID iid) override {
        if (iid == IID_IUnknown || iid == __uuidof(IEnum)) return static_cast<IEnum*>(this);
        return nullptr;
    }
};

using FakeEnumPins = FakeEnum<IEnumPins, IPin>;
using FakeEnumFilters = FakeEnum<IEnumFilters, IBaseFilter>;
using FakeEnumMoniker = FakeEnum<IEnumMoniker, IMoniker>;

}  // namespace doubles
