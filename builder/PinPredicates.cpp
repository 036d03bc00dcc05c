// What a pin offers: the predicates look at every media type the pin enumerates.
#include "builder/CaptureBuilder.h"
#include "builder/MediaType.h"

namespace {

// True when one of the pin's media types satisfies matches. Each media type is freed
// right after it has been looked at.
template <class Match>
bool PinOffers(IPin* pin, Match matches) {
    if (!pin) return false;
    ComHolder<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(types.Receive())) || !types) return false;
    if (FAILED(types->Reset())) return false;
    for (ULONG taken = 0; taken < maxEnumeratedItems; ++taken) {
        AM_MEDIA_TYPE* mediaType = nullptr;
        ULONG fetched = 0;
        HRESULT hr = types->Next(1, &mediaType, &fetched);
        if (hr != S_OK) {
            // A success other than S_OK may still have handed out a type, if its count says
            // so; otherwise the slot is undefined.
            if (SUCCEEDED(hr) && fetched == 1) ReleaseMediaType(mediaType);
            return false;
        }
        bool match = mediaType && matches(*mediaType);
        ReleaseMediaType(mediaType);
        if (match) return true;
    }
    return false;
}

}  // namespace

BOOL CaptureBuilder::PinHasMajorType(ComHolder<IPin> pin, const GUID* majorType) {
    if (!majorType) return false;
    return PinOffers(pin, [majorType](const AM_MEDIA_TYPE& mediaType) {
        return IsEqualGUID(mediaType.majortype, *majorType) != FALSE;
    });
}

BOOL CaptureBuilder::IsVideoPin(ComHolder<IPin> pin) {
    return PinHasMajorType(pin, &MEDIATYPE_Video);
}

BOOL CaptureBuilder::IsAudioPin(ComHolder<IPin> pin) {
    return PinHasMajorType(pin, &MEDIATYPE_Audio);
}

BOOL CaptureBuilder::IsMpeg2Pin(ComHolder<IPin> pin) {
    return PinOffers(pin, [](const AM_MEDIA_TYPE& mediaType) {
        bool major = IsEqualGUID(mediaType.majortype, MEDIATYPE_Video) ||
                     IsEqualGUID(mediaType.majortype, MEDIATYPE_Stream);
        bool sub = IsEqualGUID(mediaType.subtype, MEDIASUBTYPE_MPEG2_VIDEO) ||
                   IsEqualGUID(mediaType.subtype, MEDIASUBTYPE_MPEG2_PROGRAM);
        return major && sub;
    });
}
