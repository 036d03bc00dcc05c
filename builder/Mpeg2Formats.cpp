#include "builder/Mpeg2Formats.h"

#include <cstddef>

namespace {

// MPEG2VIDEOINFO with room for the whole sequence header in place of its one-word tail.
struct Mpeg2VideoFormat {
    VIDEOINFOHEADER2 hdr;
    DWORD dwStartTimeCode;
    DWORD cbSequenceHeader;
    DWORD dwProfile;
    DWORD dwLevel;
    DWORD dwFlags;
    BYTE dwSequenceHeader[86];
};
const DWORD VideoFormatLength = offsetof(Mpeg2VideoFormat, dwSequenceHeader) + 86;
static_assert(offsetof(Mpeg2VideoFormat, dwSequenceHeader) ==
              offsetof(MPEG2VIDEOINFO, dwSequenceHeader), "layout of MPEG2VIDEOINFO");
static_assert(VideoFormatLength == 218, "video format block length");
static_assert(sizeof(MPEG1WAVEFORMAT) == 40, "audio format block length");

const Mpeg2VideoFormat VideoFormat = {
    {
        {0, 0, 720, 480},  // rcSource
        {0, 0, 0, 0},      // rcTarget
        4000000,           // dwBitRate
        0,                 // dwBitErrorRate
        333667,            // AvgTimePerFrame: 29.97 frames per second
        0,                 // dwInterlaceFlags
        0,                 // dwCopyProtectFlags
        4, 3,              // picture aspect ratio
        {0},               // dwControlFlags
        0,                 // dwReserved2
        {40, 720, 480, 0, 0, 0, 0, 2000, 53031, 0, 0},
    },
    455832,  // dwStartTimeCode
    86,      // cbSequenceHeader
    2,       // dwProfile: main
    2,       // dwLevel: main
    0,       // dwFlags
    {
        // sequence_header: 720 x 480, 4:3, 30000/1001, 4 Mbit/s, non-intra matrix follows
        0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81,
        0x10, 0x11, 0x11, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14, 0x14,
        0x14, 0x15, 0x15, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16,
        0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x17, 0x18, 0x18, 0x18, 0x19, 0x18, 0x18,
        0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A, 0x19, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1C, 0x1C,
        0x1C, 0x1C, 0x1E, 0x1E, 0x1E, 0x1F, 0x1F, 0x21,
        // sequence_extension: main profile at main level, 4:2:0
        0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00,
    },
};

const MPEG1WAVEFORMAT AudioFormat = {
    {WAVE_FORMAT_MPEG, 2, 48000, 32000, 768, 0, 22},
    ACM_MPEG_LAYER2,  // fwHeadLayer
    256000,           // dwHeadBitrate
    ACM_MPEG_STEREO,  // fwHeadMode
    1,                // fwHeadModeExt
    1,                // wHeadEmphasis
    0x001C,           // fwHeadFlags
    0, 0,             // dwPTSLow, dwPTSHigh
};

// The demultiplexer only reads the format block it is handed.
AM_MEDIA_TYPE MediaType(const GUID& major, const GUID& sub, const GUID& format,
                        const void* block, ULONG length) {
    AM_MEDIA_TYPE mediaType = {};
    mediaType.majortype = major;
    mediaType.subtype = sub;
    mediaType.bFixedSizeSamples = TRUE;
    mediaType.bTemporalCompression = FALSE;
    // Left open: the demultiplexer sizes the samples it delivers itself.
    mediaType.lSampleSize = 0;
    mediaType.formattype = format;
    mediaType.pUnk = nullptr;
    mediaType.cbFormat = length;
    mediaType.pbFormat = const_cast<BYTE*>(static_cast<const BYTE*>(block));
    return mediaType;
}

}  // namespace

AM_MEDIA_TYPE Mpeg2VideoMediaType() {
    return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, &VideoFormat,
                     VideoFormatLength);
}

AM_MEDIA_TYPE Mpeg2AudioMediaType() {
    return MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx, &AudioFormat,
                     sizeof AudioFormat);
}
