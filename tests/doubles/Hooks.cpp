#include "doubles/Hooks.h"

#include <algorithm>
#include <map>

namespace hooks {

// Never destroyed: hooked objects may be released by static destructors at exit.
std::set<void*>& created = *new std::set<void*>;

int platformCalls = 0;

bool FromProgram(void* caller) {
    static const auto* base = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
    static const auto size = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew)->OptionalHeader.SizeOfImage;
    return caller >= base && caller < base + size;
}

bool Faultable(REFIID iid, void**) {
    for (const IID* i : {&IID_ISpecifyPropertyPages, &IID_IKsPropertySet, &IID_IAMCrossbar, &IID_IBaseFilter,
                         &IID_IFileSinkFilter, &IID_IPropertyBag, &IID_IMpeg2Demultiplexer, &IID_IMPEG2StreamIdMap,
                         &__uuidof(IKsPin)})
        if (*i == iid) return true;
    return false;
}

namespace {

struct Hooked {
    void** original;
    std::vector<void*> table;
    std::string owner;
    bool platform;  // not a double: its references are counted here
};
std::map<void*, Hooked>& hooks = *new std::map<void*, Hooked>;  // by interface pointer; a new object there is hooked afresh
std::vector<void (*)(IUnknown*)> hookers;
std::map<void*, int>& held = *new std::map<void*, int>;  // the program's references on the platform's objects, by interface pointer
bool hooking = false;       // hooking asks QueryInterface, which hands out objects

// A reference the program takes or gives back on a platform object it holds through a
// hooked interface.
void Count(void* object, int change, void* caller) {
    if (answers::Dead(object)) strict::Complain(OwnerName(object) + (change > 0 ? ".AddRef" : ".Release") + " after its last release; ");
    auto h = hooks.find(object);
    // Only what is held is kept: a long run meets objects at ever new addresses.
    if (!hooking && FromProgram(caller) && h != hooks.end() && h->second.platform && (held[object] += change) == 0)
        held.erase(object);
}

ULONG STDMETHODCALLTYPE AddRef(IUnknown* self) {
    Count(self, +1, __builtin_return_address(0));
    return reinterpret_cast<ULONG(STDMETHODCALLTYPE*)(IUnknown*)>(OriginalVtable(self)[1])(self);
}

constexpr auto queryInterface = static_cast<HRESULT (STDMETHODCALLTYPE IUnknown::*)(REFIID, void**)>(&IUnknown::QueryInterface);

// The last Release of an object made by CoCreateInstance takes it off the watch list.
ULONG STDMETHODCALLTYPE Release(IUnknown* self) {
    Count(self, -1, __builtin_return_address(0));
    ULONG left = reinterpret_cast<ULONG(STDMETHODCALLTYPE*)(IUnknown*)>(OriginalVtable(self)[2])(self);
    if (left == 0) created.erase(self);
    return left;
}

// Each hookable interface: its id, the length of its vtable, its name and fault points.
template <class I, int slots>
bool Hookable(const char* name, std::vector<std::pair<int, void*>> points) {
    static const std::string platformName = name;
    static const auto list = (points.push_back(Point<queryInterface>::Make("QueryInterface")),
                              points.push_back({1, reinterpret_cast<void*>(&AddRef)}),
                              points.push_back({2, reinterpret_cast<void*>(&Release)}), points);
    hookers.push_back([](IUnknown* object) {
        void* i = nullptr;
        if (object->QueryInterface(__uuidof(I), &i) != S_OK || !i) return;
        void**& vptr = *static_cast<void***>(i);
        Hooked& h = hooks[i];
        if (vptr != h.table.data()) {
            // The copy reaches past the interface's own slots: an object may call its
            // own virtual functions (its destructor) through the same table.
            MEMORY_BASIC_INFORMATION region;
            VirtualQuery(vptr, &region, sizeof region);
            size_t readable = (static_cast<char*>(region.BaseAddress) + region.RegionSize - reinterpret_cast<char*>(vptr)) / sizeof(void*);
            std::string owner = doubles::NameOf(static_cast<I*>(i), "");
            h = {vptr, std::vector<void*>(vptr, vptr + std::max<size_t>(slots, std::min<size_t>(readable, 64))),
                 owner.empty() ? platformName : owner, owner.empty()};
            for (const auto& p : list) h.table[p.first] = p.second;
            vptr = h.table.data();
        }
        static_cast<I*>(i)->Release();
    });
    return true;
}

}  // namespace

void** OriginalVtable(void* object) { return hooks[object].original; }
const std::string& OwnerName(void* object) { return hooks[object].owner; }

const bool hookable[] = {
    Hookable<IPin, 18>("pin", {FAULT_POINT(IPin::ConnectedTo), FAULT_POINT(IPin::QueryPinInfo),
                               FAULT_POINT(IPin::QueryDirection), FAULT_POINT(IPin::EnumMediaTypes)}),
    Hookable<IKsPropertySet, 6>("properties", {FAULT_POINT(IKsPropertySet::Get)}),
    Hookable<IKsPin, 16>("kspin", {FAULT_POINT(IKsPin::KsQueryMediums)}),
    Hookable<IEnumPins, 7>("pins", {FAULT_POINT(IEnumPins::Next)}),
    Hookable<IEnumMoniker, 7>("monikers", {FAULT_POINT(IEnumMoniker::Next)}),
    Hookable<IEnumMediaTypes, 7>("types", {FAULT_POINT(IEnumMediaTypes::Next)}),
    Hookable<IBaseFilter, 15>("filter", {FAULT_POINT(IBaseFilter::EnumPins)}),
    Hookable<ISpecifyPropertyPages, 4>("pages", {FAULT_POINT(ISpecifyPropertyPages::GetPages)}),
    Hookable<IPropertyBag, 5>("bag", {FAULT_POINT(IPropertyBag::Read)}),
    Hookable<IMoniker, 23>("moniker", {FAULT_POINT(IMoniker::BindToObject), FAULT_POINT(IMoniker::BindToStorage)}),
    Hookable<ICreateDevEnum, 4>("devenum", {FAULT_POINT(ICreateDevEnum::CreateClassEnumerator)}),
    Hookable<IFilterMapper2, 7>("mapper", {FAULT_POINT(IFilterMapper2::EnumMatchingFilters)}),
    // The filter graph's table is that of IFilterGraph2, three slots longer.
    Hookable<IGraphBuilder, 21>("graph", {FAULT_POINT(IGraphBuilder::AddFilter), FAULT_POINT(IGraphBuilder::RemoveFilter),
                                          FAULT_POINT(IGraphBuilder::Disconnect), FAULT_POINT(IGraphBuilder::ConnectDirect)}),
    Hookable<ICaptureGraphBuilder2, 12>("builder",
        {FAULT_POINT(ICaptureGraphBuilder2::SetFiltergraph), FAULT_POINT(ICaptureGraphBuilder2::GetFiltergraph),
         FAULT_POINT(ICaptureGraphBuilder2::FindInterface), FAULT_POINT(ICaptureGraphBuilder2::FindPin),
         FAULT_POINT(ICaptureGraphBuilder2::RenderStream)}),
    Hookable<IAMCrossbar, 8>("crossbar", {FAULT_POINT(IAMCrossbar::get_PinCounts), FAULT_POINT(IAMCrossbar::CanRoute),
                                          FAULT_POINT(IAMCrossbar::get_CrossbarPinInfo)}),
    Hookable<IAMStreamConfig, 7>("format", {FAULT_POINT(IAMStreamConfig::GetFormat)}),
    Hookable<IMpeg2Demultiplexer, 6>("demux", {FAULT_POINT(IMpeg2Demultiplexer::CreateOutputPin)}),
    Hookable<IMPEG2StreamIdMap, 6>("streams", {FAULT_POINT(IMPEG2StreamIdMap::MapStreamId)}),
    Hookable<IFileSinkFilter, 5>("sink", {FAULT_POINT(IFileSinkFilter::SetFileName)}),
};

void Take(void* object) { Count(object, +1, reinterpret_cast<void*>(&Take)); }

void Drop(IUnknown* item) {
    if (!item) return;
    hooking = true;
    item->Release();
    hooking = false;
}

void Drop(AM_MEDIA_TYPE* item) {
    if (!item) return;
    if (item->cbFormat) CoTaskMemFree(item->pbFormat);
    Drop(item->pUnk);
    CoTaskMemFree(item);
}

// Test code releases the platform objects it made itself, which the program never took:
// only what is still held counts.
std::string Left() {
    std::string text = doubles::Unbalanced();
    for (auto& [object, count] : held)
        if (count > 0) text += OwnerName(object) + " held " + std::to_string(count) + " times; ";
    for (void* object : created) text += OwnerName(object) + " made for the run is alive; ";
    if (doubles::TaskBlocksOutstanding()) text += std::to_string(doubles::TaskBlocksOutstanding()) + " blocks of task memory; ";
    return text + strict::TakeComplaints();
}

void Hook(std::initializer_list<IUnknown*> objects) {
    if (hooking) return;
    const bool was = answers::chooser.active;
    hooking = true, answers::chooser.active = false;
    for (IUnknown* object : objects)
        if (object)
            for (auto hook : hookers) hook(object);
    hooking = false, answers::chooser.active = was;
}

}  // namespace hooks
