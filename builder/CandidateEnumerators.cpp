// Where encoder and multiplexer candidates come from: the registered kernel-streaming
// categories, and the filter mapper for a pin on a hardware medium.
#include "builder/CaptureBuilder.h"
#include "platform/Seam.h"

namespace {

// A category without devices answers S_FALSE and no enumerator; callers accept that.
HRESULT CreateCategoryEnumerator(REFCLSID category, ComHolder<IEnumMoniker>* monikers) {
    ComHolder<ICreateDevEnum> devices;
    HRESULT hr = platform::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL,
                                            IID_ICreateDevEnum,
                                            reinterpret_cast<void**>(devices.Receive()));
    if (FAILED(hr)) return hr;
    if (!devices) return E_FAIL;
    return devices->CreateClassEnumerator(category, monikers ? monikers->Receive() : nullptr, 0);
}

}  // namespace

HRESULT CaptureBuilder::CreateEncoderEnumerator(ComHolder<IEnumMoniker>* encoders) {
    return CreateCategoryEnumerator(KSCATEGORY_ENCODER, encoders);
}

HRESULT CaptureBuilder::CreateMultiplexerEnumerator(ComHolder<IEnumMoniker>* multiplexers) {
    return CreateCategoryEnumerator(KSCATEGORY_MULTIPLEXER, multiplexers);
}

// Any registered filter, of any merit, with an input pin on the medium and some output pin.
HRESULT CaptureBuilder::CreateMatchingFilterEnumerator(const REGPINMEDIUM* medium,
                                                       ComHolder<IEnumMoniker>* filters) {
    ComHolder<IFilterMapper2> mapper;
    HRESULT hr = platform::CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_ALL,
                                            IID_IFilterMapper2,
                                            reinterpret_cast<void**>(mapper.Receive()));
    if (FAILED(hr)) return hr;
    if (!mapper) return E_FAIL;
    return mapper->EnumMatchingFilters(filters ? filters->Receive() : nullptr,
                                       0,        // dwFlags
                                       FALSE,    // bExactMatch
                                       0,        // dwMerit
                                       TRUE,     // bInputNeeded
                                       0,        // cInputTypes
                                       nullptr,  // pInputTypes
                                       medium,   // pMedIn
                                       nullptr,  // pPinCategoryIn
                                       FALSE,    // bRender
                                       TRUE,     // bOutputNeeded
                                       0,        // cOutputTypes
                                       nullptr,  // pOutputTypes
                                       nullptr,  // pMedOut
                                       nullptr); // pPinCategoryOut
}
