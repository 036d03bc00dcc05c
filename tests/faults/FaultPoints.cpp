#include "FaultPoints.h"
#include <map>

namespace faults {

FaultPlan plan;

Shot Hit(const std::string& point) {
    if (!plan.active) return Shot::Pass;
    plan.points.push_back(point);
    if (static_cast<int>(plan.points.size()) - 1 != plan.target) return Shot::Pass;
    plan.fired = true;
    return plan.mode == Mode::SuccessWithObject ? Shot::Adjust : Shot::Fail;
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
};
std::map<void*, Hooked> hooks;  // by interface pointer; a new object there is hooked afresh
std::vector<void (*)(IUnknown*)> hookers;

constexpr auto queryInterface = static_cast<HRESULT (STDMETHODCALLTYPE IUnknown::*)(REFIID, void**)>(&IUnknown::QueryInterface);

// Each hookable interface: its id, the length of its vtable and its fault points.
template <class I, int slots>
bool Hookable(REFIID iid, std::vector<std::pair<int, void*>> points) {
    static const IID id = iid;
    static const auto list = (points.push_back(Point<queryInterface>::Make("QueryInterface")), points);
    hookers.push_back([](IUnknown* object) {
        void* i = nullptr;
        if (object->QueryInterface(id, &i) != S_OK || !i) return;
        void**& vptr = *static_cast<void***>(i);
        Hooked& h = hooks[i];
        if (vptr != h.table.data()) {
            h = {vptr, std::vector<void*>(vptr, vptr + slots), doubles::NameOf(static_cast<I*>(i))};
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
    Hookable<IPin, 18>(IID_IPin, {FAULT_POINT(IPin::ConnectedTo), FAULT_POINT(IPin::QueryPinInfo),
                                  FAULT_POINT(IPin::QueryDirection), FAULT_POINT(IPin::EnumMediaTypes)}),
    Hookable<IKsPropertySet, 6>(IID_IKsPropertySet, {FAULT_POINT(IKsPropertySet::Get)}),
    Hookable<IKsPin, 16>(__uuidof(IKsPin), {FAULT_POINT(IKsPin::KsQueryMediums)}),
    // The odd success of Next is S_OK with nothing fetched.
    Hookable<IEnumPins, 7>(IID_IEnumPins, {FAULT_POINT(IEnumPins::Next, S_OK)}),
    Hookable<IEnumMoniker, 7>(IID_IEnumMoniker, {FAULT_POINT(IEnumMoniker::Next, S_OK)}),
    Hookable<IEnumMediaTypes, 7>(IID_IEnumMediaTypes, {FAULT_POINT(IEnumMediaTypes::Next, S_OK)}),
    Hookable<IBaseFilter, 15>(IID_IBaseFilter, {FAULT_POINT(IBaseFilter::EnumPins)}),
    Hookable<ISpecifyPropertyPages, 4>(IID_ISpecifyPropertyPages, {FAULT_POINT(ISpecifyPropertyPages::GetPages)}),
    Hookable<IPropertyBag, 5>(IID_IPropertyBag, {FAULT_POINT(IPropertyBag::Read)}),
    Hookable<IMoniker, 23>(IID_IMoniker, {FAULT_POINT(IMoniker::BindToObject), FAULT_POINT(IMoniker::BindToStorage)}),
    Hookable<ICreateDevEnum, 4>(IID_ICreateDevEnum, {FAULT_POINT(ICreateDevEnum::CreateClassEnumerator)}),
    Hookable<IGraphBuilder, 18>(IID_IGraphBuilder, {FAULT_POINT(IGraphBuilder::AddFilter),
                                                    FAULT_POINT(IGraphBuilder::RemoveFilter),
                                                    FAULT_POINT(IGraphBuilder::Disconnect),
                                                    FAULT_POINT(IGraphBuilder::ConnectDirect)}),
    Hookable<ICaptureGraphBuilder2, 12>(IID_ICaptureGraphBuilder2,
        {FAULT_POINT(ICaptureGraphBuilder2::SetFiltergraph), FAULT_POINT(ICaptureGraphBuilder2::GetFiltergraph),
         FAULT_POINT(ICaptureGraphBuilder2::FindInterface), FAULT_POINT(ICaptureGraphBuilder2::FindPin),
         FAULT_POINT(ICaptureGraphBuilder2::RenderStream)}),
    Hookable<IAMCrossbar, 8>(IID_IAMCrossbar, {FAULT_POINT(IAMCrossbar::get_PinCounts), FAULT_POINT(IAMCrossbar::CanRoute),
                                               FAULT_POINT(IAMCrossbar::get_CrossbarPinInfo)}),
    Hookable<IAMStreamConfig, 7>(IID_IAMStreamConfig, {FAULT_POINT(IAMStreamConfig::GetFormat)}),
    Hookable<IMpeg2Demultiplexer, 6>(IID_IMpeg2Demultiplexer, {FAULT_POINT(IMpeg2Demultiplexer::CreateOutputPin)}),
    Hookable<IMPEG2StreamIdMap, 6>(IID_IMPEG2StreamIdMap, {FAULT_POINT(IMPEG2StreamIdMap::MapStreamId)}),
    Hookable<IFileSinkFilter, 5>(IID_IFileSinkFilter, {FAULT_POINT(IFileSinkFilter::SetFileName)}),
};

void HookAll(const std::vector<IUnknown*>& objects) {
    static bool hooking = false;  // hooking asks QueryInterface, which hands out objects
    if (hooking) return;
    const bool was = plan.active;
    hooking = true, plan.active = false;
    for (IUnknown* object : objects)
        if (object)
            for (auto hook : hookers) hook(object);
    hooking = false, plan.active = was;
}

void Tally::Count(bool ok, int k, Mode mode, const std::string& name) {
    ++points;
    if (ok) ++survived;
    else std::printf("  did not survive: call %d %s, %s\n", k, name.c_str(),
                     mode == Mode::Fail ? "E_FAIL" : mode == Mode::OddSuccess ? "odd success" : "S_FALSE with the object");
}

}  // namespace faults
