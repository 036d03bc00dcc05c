// The demultiplexer's two pins: their media types and stream maps, the format blocks checked
// against blocks built here field by field, and the sequence header read back with the MPEG-2
// video syntax.
#include "mpeg/MpegTest.h"

namespace mpeg {
namespace {

// Little-endian writer for building a block field by field.
struct Bytes {
    std::vector<BYTE> data;
    Bytes& U(unsigned long long value, int width) {
        for (int i = 0; i < width; ++i) data.push_back(BYTE(value >> (8 * i)));
        return *this;
    }
    Bytes& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes) data.push_back(BYTE(b));
        return *this;
    }
};

struct BitReader {
    const std::vector<BYTE>& data;
    size_t bit;
    unsigned Read(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i, ++bit) value = value << 1 | ((data[bit / 8] >> (7 - bit % 8)) & 1);
        return value;
    }
};

class FormatBlocks : public MpegTest {
protected:
    FormatBlocks() {
        EXPECT_EQ(S_OK, builder->ConfigureDemultiplexer(static_cast<IBaseFilter*>(&demux)));
        EXPECT_EQ(2u, demux.made.size());
    }
    const std::vector<BYTE>& video() { return demux.made.at(0)->format; }
    const std::vector<BYTE>& audio() { return demux.made.at(1)->format; }
};

TEST_F(FormatBlocks, TheDemultiplexerGetsExactlyTwoMappedElementaryStreamPins) {
    ASSERT_EQ(2u, demux.made.size());
    struct Expected {
        const char* name;
        GUID major, sub, format;
        LONG streamId;
    } expected[] = {
        {"MpegVideo", MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, 224},
        {"MpegAudio", MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO, FORMAT_WaveFormatEx, 192},
    };
    for (int i = 0; i < 2; ++i) {
        const MappedPin& pin = *demux.made[i];
        const AM_MEDIA_TYPE& type = pin.type;
        EXPECT_EQ(expected[i].name, pin.pinName);
        EXPECT_TRUE(type.majortype == expected[i].major && type.subtype == expected[i].sub &&
                    type.formattype == expected[i].format && type.bFixedSizeSamples &&
                    !type.bTemporalCompression && !type.pUnk && type.lSampleSize == 0) << i;
        EXPECT_EQ((std::vector<std::vector<LONG>>{{expected[i].streamId, 1, 0, 0}}), pin.maps) << i;
    }
}

TEST_F(FormatBlocks, VideoBlockIsTheMpeg2VideoInfoFieldByField) {
    Bytes b;
    b.U(0, 4).U(0, 4).U(720, 4).U(480, 4).U(0, 4).U(0, 4).U(0, 4).U(0, 4);  // rcSource, rcTarget
    b.U(4000000, 4).U(0, 4).U(333667, 8).U(0, 4).U(0, 4).U(4, 4).U(3, 4).U(0, 4).U(0, 4);
    b.U(40, 4).U(720, 4).U(480, 4).U(0, 2).U(0, 2).U(0, 4).U(0, 4).U(2000, 4).U(53031, 4).U(0, 4).U(0, 4);
    b.U(0x0006F498, 4).U(86, 4).U(2, 4).U(2, 4).U(0, 4);
    b.Raw({0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81});
    b.Raw({16, 17, 17, 18, 18, 18, 19, 19, 19, 19, 20, 20, 20, 20, 20, 21, 21, 21, 21, 21, 21, 22,
           22, 22, 22, 22, 22, 22, 23, 23, 23, 23, 23, 23, 23, 23, 24, 24, 24, 25, 24, 24, 24, 25,
           26, 26, 26, 26, 25, 27, 27, 27, 27, 27, 28, 28, 28, 28, 30, 30, 30, 31, 31, 33});
    b.Raw({0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00});
    ASSERT_EQ(218u, b.data.size());
    EXPECT_EQ(b.data, video());
}

TEST_F(FormatBlocks, AudioBlockIsTheMpeg1WaveFormatFieldByField) {
    Bytes b;
    b.U(0x50, 2).U(2, 2).U(48000, 4).U(32000, 4).U(768, 2).U(0, 2).U(22, 2);
    b.U(2, 2).U(256000, 4).U(1, 2).U(1, 2).U(1, 2).U(0x1C, 2).U(0, 4).U(0, 4);
    ASSERT_EQ(40u, b.data.size());
    EXPECT_EQ(b.data, audio());
}

TEST_F(FormatBlocks, SequenceHeaderDecodesAsMainProfileAtMainLevel) {
    ASSERT_EQ(218u, video().size());
    BitReader r{video(), 132 * 8};
    struct Field {
        const char* name;
        int bits;
        unsigned value;
    } fields[] = {
        {"sequence_header_code", 32, 0x1B3}, {"horizontal_size_value", 12, 720},
        {"vertical_size_value", 12, 480}, {"aspect_ratio_information", 4, 2},
        {"frame_rate_code", 4, 4}, {"bit_rate_value", 18, 10000}, {"marker_bit", 1, 1},
        {"vbv_buffer_size_value", 10, 112}, {"constrained_parameters_flag", 1, 0},
        {"load_intra_quantiser_matrix", 1, 0}, {"load_non_intra_quantiser_matrix", 1, 1},
    };
    for (const Field& f : fields) EXPECT_EQ(f.value, r.Read(f.bits)) << f.name;
    for (int i = 0; i < 64; ++i) {
        unsigned q = r.Read(8);
        EXPECT_TRUE(q >= 16 && q <= 33) << "quantiser " << i << " = " << q;
    }
    Field extension[] = {
        {"extension_start_code", 32, 0x1B5}, {"extension_start_code_identifier", 4, 1},
        {"profile_and_level_indication", 8, 0x48}, {"progressive_sequence", 1, 0},
        {"chroma_format", 2, 1}, {"horizontal_size_extension", 2, 0},
        {"vertical_size_extension", 2, 0}, {"bit_rate_extension", 12, 0}, {"marker_bit", 1, 1},
        {"vbv_buffer_size_extension", 8, 0}, {"low_delay", 1, 0},
        {"frame_rate_extension_n", 2, 0}, {"frame_rate_extension_d", 5, 0},
    };
    for (const Field& f : extension) EXPECT_EQ(f.value, r.Read(f.bits)) << f.name;
    EXPECT_EQ(218u * 8, r.bit);
}

}  // namespace
}  // namespace mpeg
