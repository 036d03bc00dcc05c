#pragma once
// The fixed media types of the demultiplexer's two output pins, built afresh on each call.
// Their format blocks are constant data shared by every call; nothing writes to them.
#include "platform/Win.h"

// "MpegVideo": MPEG-2 main profile at main level, 720 x 480, 4:3, 29.97 frames per second.
AM_MEDIA_TYPE Mpeg2VideoMediaType();
// "MpegAudio": MPEG-1 layer II, 48 kHz stereo, 256 kbit/s.
AM_MEDIA_TYPE Mpeg2AudioMediaType();
