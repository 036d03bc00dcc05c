#include "doubles/Doubles.h"

#include "doubles/Strict.h"
#include "platform/ComHolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace doubles {
namespace {

// Answered by every double without a reference, so a pointer can be traced to its double.
const IID IID_IComDouble = {0x5a3c2e71, 0x0c4b, 0x4e8a, {0x9d, 0x2f, 0x61, 0x70, 0x13, 0xb4, 0x88, 0x2d}};

std::vector<ComDouble*>& Live() {
    static std::vector<ComDouble*> live;
    return live;
}

}  // namespace

ComDouble::ComDouble(std::string name) : name(std::move(name)) { Live().push_back(this); }

ComDouble::~ComDouble() {
    Forget();
    if (!heap && refs != 1) ADD_FAILURE() << name << " destroyed with " << refs << " references";
}

void ComDouble::Forget() {
    auto found = std::find(Live().begin(), Live().end(), this);
    if (found != Live().end()) Live().erase(found);
}

HRESULT ComDouble::DoQueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    if (iid == IID_IComDouble) return *out = this, S_OK;
    if ((*out = Native(iid))) return DoAddRef(), S_OK;
    for (const auto& e : exposed)
        if (e.first == iid) return e.second->QueryInterface(iid, out);
    return E_NOINTERFACE;
}

ULONG ComDouble::DoRelease() {
    if (!heap && refs == 1) {
        ADD_FAILURE() << name << " released more often than referenced";
        return 1;
    }
    LONG left = --refs;
    if (left == 0) Gone();
    return left;
}

ComDouble* DoubleOf(IUnknown* object) {
    void* found = nullptr;
    return object && object->QueryInterface(IID_IComDouble, &found) == S_OK ? static_cast<ComDouble*>(found) : nullptr;
}

std::string NameOf(IUnknown* object, const char* platformName) {
    if (!object) return "-";
    ComDouble* found = DoubleOf(object);
    return found ? found->name : platformName;
}

std::string Unbalanced() {
    std::string wrong;
    for (ComDouble* d : Live())
        if (d->heap || d->refs != d->baseline) wrong += d->name + " holds " + std::to_string(d->refs) + " references; ";
    return wrong;
}

void* TaskAlloc(size_t bytes) {
    void* block = CoTaskMemAlloc(bytes);
    strict::Watch(block);
    return block;
}

int TaskBlocksOutstanding() { return strict::Watched(); }

AM_MEDIA_TYPE* NewMediaType(const GUID& major, const GUID& sub) {
    auto* type = static_cast<AM_MEDIA_TYPE*>(TaskAlloc(sizeof(AM_MEDIA_TYPE)));
    *type = AM_MEDIA_TYPE{major, sub, TRUE, FALSE, 1, FORMAT_None, nullptr, 0, nullptr};
    return type;
}

HRESULT FakePin::QueryPinInfo(PIN_INFO* info) {
    if (spawns) {
        auto* made = new FakeFilter(name + ".filter", *spawns, *spawns);
        made->heap = true, info->pFilter = made;
    } else if ((info->pFilter = filter)) {
        filter->AddRef();
    }
    return info->dir = direction, MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, info->achName, MAX_PIN_NAME), S_OK;
}

HRESULT FakePin::EnumMediaTypes(IEnumMediaTypes** out) {
    *out = new Enumerator<IEnumMediaTypes, AM_MEDIA_TYPE, std::pair<GUID, GUID>>(static_cast<IPin*>(this), mediaTypes);
    return S_OK;
}

FakeCrossbar::FakeCrossbar(std::string name, std::vector<LONG> inputTypes)
    : Double(name), inputTypes(inputTypes), filter(name) {
    for (size_t i = 0; i <= inputTypes.size(); ++i) {
        bool input = i < inputTypes.size();
        filter.AddPin(pins.emplace_back(name + (input ? ".in" + std::to_string(i) : ".out"), input ? PINDIR_INPUT : PINDIR_OUTPUT));
    }
    filter.Expose(IID_IAMCrossbar, static_cast<IAMCrossbar*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

FakeDemultiplexer::FakeDemultiplexer() : Double("demux.control") {
    filter.AddPin(input).mediaTypes = {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM}};
    filter.Expose(IID_IMpeg2Demultiplexer, static_cast<IMpeg2Demultiplexer*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

HRESULT FakeDemultiplexer::CreateOutputPin(AM_MEDIA_TYPE* type, LPWSTR name, IPin** out) {
    outputs.push_back({name, *type, std::vector<BYTE>(type->pbFormat, type->pbFormat + type->cbFormat)});
    FakePin& pin = filter.AddPin(pins.emplace_back("demux.out" + std::to_string(pins.size()), PINDIR_OUTPUT));
    pin.mediaTypes = {{type->majortype, type->subtype}};
    pin.Expose(IID_IMPEG2StreamIdMap, static_cast<IMPEG2StreamIdMap*>(this));
    return pin.AddRef(), *out = &pin, S_OK;
}

FakeDump::FakeDump() : Double("dump.sink") {
    filter.AddPin(input);
    filter.Expose(IID_IFileSinkFilter, static_cast<IFileSinkFilter*>(this));
    Expose(IID_IBaseFilter, static_cast<IBaseFilter*>(&filter));
}

ClassObject::ClassObject(REFCLSID clsid, IUnknown* object) : Double(NameOf(object) + ".class"), object(object) {
    EXPECT_EQ(CoRegisterClassObject(clsid, static_cast<IClassFactory*>(this), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    baseline = refs;  // the system's class table holds it until revoked
}

ClassObject::~ClassObject() { CoRevokeClassObject(cookie); }

namespace {
ComHolder<IFilterMapper2> Mapper() {
    ComHolder<IFilterMapper2> mapper;
    CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2, reinterpret_cast<void**>(mapper.Receive()));
    return mapper;
}
}  // namespace

Device::Device(const GUID& category, const wchar_t* instance, const wchar_t* friendlyName, REFCLSID clsid)
    : category(category), instance(instance), clsid(clsid) {
    REGFILTER2 filter = {2, MERIT_DO_NOT_USE, {{0, nullptr}}};
    EXPECT_EQ(Mapper()->RegisterFilter(clsid, friendlyName, nullptr, &category, instance, &filter), S_OK);
}

Device::~Device() { Mapper()->UnregisterFilter(&category, instance.c_str(), clsid); }

}  // namespace doubles
