#include "BuilderWorld.h"

namespace faults {

namespace {
// The dump filter's class.
const CLSID CLSID_Dump = {0x36A5F770, 0xFE4C, 0x11CE, {0xA8, 0xED, 0x00, 0xAA, 0x00, 0x2F, 0xEA, 0xB5}};
}  // namespace

BuilderWorld::BuilderWorld()
    : platformBuilder("platformBuilder"),
      graph("graph"),
      demux("demux"),
      dump("dump"),
      mpegSource("mpegsrc"),
      mpegOut("mpegsrc.out", PINDIR_OUTPUT),
      camera("cam"),
      videoOut("cam.video", PINDIR_OUTPUT),
      audioOut("cam.audio", PINDIR_OUTPUT),
      encoder("enc"),
      encoderVideoIn("enc.video", PINDIR_INPUT),
      encoderAudioIn("enc.audio", PINDIR_INPUT),
      encoderOut("enc.out", PINDIR_OUTPUT),
      encoderDevice("enc.moniker", nullptr, static_cast<IBaseFilter*>(&encoder)),
      encoders("devenum") {
    registry.Register(CLSID_CaptureGraphBuilder2, static_cast<ICaptureGraphBuilder2*>(&platformBuilder));
    registry.Register(CLSID_MPEG2Demultiplexer, static_cast<IBaseFilter*>(&demux.filter));
    registry.Register(CLSID_Dump, static_cast<IFileSinkFilter*>(&dump));
    registry.Register(CLSID_SystemDeviceEnum, static_cast<ICreateDevEnum*>(&encoders));
    platformBuilder.graph = &graph;

    mpegOut.mediaTypes = {doubles::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM)};
    mpegSource.AddPin(mpegOut);

    videoOut.mediaTypes = {doubles::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB24)};
    videoOut.hasKsPin = true;  // on no hardware medium: encoders are tried one by one
    audioOut.mediaTypes = {doubles::MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM)};
    camera.AddPin(videoOut);
    camera.AddPin(audioOut);

    encoder.AddPin(encoderVideoIn);
    encoder.AddPin(encoderAudioIn);
    encoder.AddPin(encoderOut);
    encoders.category = KSCATEGORY_ENCODER;
    encoders.devices = {&encoderDevice};
}

}  // namespace faults
