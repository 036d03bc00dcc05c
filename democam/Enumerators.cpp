// The pin and media-type enumerators and the pin's one video format.
#include "democam/DemoFilter.h"

AM_MEDIA_TYPE* CreateDemoMediaType() {
    AM_MEDIA_TYPE* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    VIDEOINFOHEADER* format =
        static_cast<VIDEOINFOHEADER*>(CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
    if (!type || !format) {
        CoTaskMemFree(type);
        CoTaskMemFree(format);
        return nullptr;
    }
    ZeroMemory(type, sizeof *type);
    ZeroMemory(format, sizeof *format);
    format->AvgTimePerFrame = 333333;
    format->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format->bmiHeader.biWidth = 320;
    format->bmiHeader.biHeight = 240;
    format->bmiHeader.biPlanes = 1;
    format->bmiHeader.biBitCount = 24;
    format->bmiHeader.biCompression = BI_RGB;
    format->bmiHeader.biSizeImage = 320 * 240 * 3;
    type->majortype = MEDIATYPE_Video;
    type->subtype = MEDIASUBTYPE_RGB24;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = format->bmiHeader.biSizeImage;
    type->formattype = FORMAT_VideoInfo;
    type->cbFormat = sizeof(VIDEOINFOHEADER);
    type->pbFormat = reinterpret_cast<BYTE*>(format);
    return type;
}

namespace {
// Hands out `total` items, one position at a time; Item produces the n-th.
template <class Interface, class Element, const IID& iid>
class SingleEnumerator : public SingleInterface<Interface, iid> {
public:
    STDMETHODIMP Next(ULONG count, Element* items, ULONG* fetched) override {
        if (!items) return E_POINTER;
        ULONG got = 0;
        while (got < count && position < 1) {
            items[got] = Item();
            if (!items[got]) break;
            ++got;
            ++position;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position += count;
        return position <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override { position = 0; return S_OK; }
    virtual ~SingleEnumerator() = default;

protected:
    virtual Element Item() = 0;
    ULONG position = 0;

private:
};

class PinEnumerator : public SingleEnumerator<IEnumPins, IPin*, IID_IEnumPins> {
public:
    explicit PinEnumerator(IPin* pin) : pin(pin) { pin->AddRef(); }
    ~PinEnumerator() override { pin->Release(); }
    STDMETHODIMP Clone(IEnumPins** copy) override {
        if (!copy) return E_POINTER;
        PinEnumerator* e = new (std::nothrow) PinEnumerator(pin);
        if (!e) return E_OUTOFMEMORY;
        e->position = position;
        *copy = e;
        return S_OK;
    }

protected:
    IPin* Item() override { pin->AddRef(); return pin; }

private:
    IPin* pin;
};

class TypeEnumerator
    : public SingleEnumerator<IEnumMediaTypes, AM_MEDIA_TYPE*, IID_IEnumMediaTypes> {
public:
    STDMETHODIMP Clone(IEnumMediaTypes** copy) override {
        if (!copy) return E_POINTER;
        TypeEnumerator* e = new (std::nothrow) TypeEnumerator;
        if (!e) return E_OUTOFMEMORY;
        e->position = position;
        *copy = e;
        return S_OK;
    }

protected:
    AM_MEDIA_TYPE* Item() override { return CreateDemoMediaType(); }
};
}  // namespace

HRESULT CreatePinEnumerator(IPin* pin, IEnumPins** pins) {
    *pins = new (std::nothrow) PinEnumerator(pin);
    return *pins ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateMediaTypeEnumerator(IEnumMediaTypes** types) {
    *types = new (std::nothrow) TypeEnumerator;
    return *types ? S_OK : E_OUTOFMEMORY;
}
