#include "CrossbarFixture.h"

using namespace doubles;

namespace {

class PinLookup : public ::testing::Test {
protected:
    FakeCrossbar xbar{"xbar", {{kTuner}, {kComposite}, {kAudioLine}}, {{kDecoderOut}, {kAudioDecoderOut}}};
    IAMCrossbar* itf = &xbar;
    // The walk helpers need no route list: a router on a null pin has an empty one.
    HRESULT ignored;
    CrossbarRouter router{nullptr, &ignored};

    void TearDown() override { EXPECT_DOUBLES_BALANCED(); }
};

TEST_F(PinLookup, OutputsFollowTheInputsInTheEnumeration) {
    struct Case {
        LONG index;
        BOOL isInput;
        FakePin* pin;
    } cases[] = {
        {0, TRUE, &xbar.Input(0)}, {2, TRUE, &xbar.Input(2)}, {0, FALSE, &xbar.Output(0)}, {1, FALSE, &xbar.Output(1)}};
    for (const auto& c : cases) {
        IPin* pin = nullptr;
        EXPECT_EQ(S_OK, router.PinAtIndex(itf, c.index, c.isInput, &pin));
        EXPECT_EQ(static_cast<IPin*>(c.pin), pin);
        LONG index = -1;
        EXPECT_EQ(S_OK, router.IndexOfPin(itf, &index, c.isInput, c.pin));
        EXPECT_EQ(c.index, index);
        EXPECT_EQ(1, c.pin->refs) << "handed out without a reference";
    }
}

TEST_F(PinLookup, MissingPinsAndFailuresLeaveNothingBehind) {
    IPin* pin = &xbar.Input(0);
    EXPECT_EQ(E_FAIL, router.PinAtIndex(itf, 2, FALSE, &pin));
    EXPECT_EQ(nullptr, pin);
    FakePin foreign("foreign", PINDIR_INPUT);
    LONG index = 7;
    EXPECT_EQ(E_FAIL, router.IndexOfPin(itf, &index, TRUE, &foreign));
    EXPECT_EQ(7, index);

    xbar.filter.enumPinsResult = E_OUTOFMEMORY;
    EXPECT_EQ(E_FAIL, router.PinAtIndex(itf, 0, TRUE, &pin));
    EXPECT_EQ(E_FAIL, router.IndexOfPin(itf, &index, TRUE, &xbar.Input(0)));
    xbar.filter.enumPinsResult = S_OK;
    xbar.pinCountsResult = S_FALSE;
    EXPECT_EQ(E_FAIL, router.PinAtIndex(itf, 0, TRUE, &pin));
    EXPECT_EQ(E_FAIL, router.IndexOfPin(itf, &index, TRUE, &xbar.Input(0)));
    xbar.pinCountsResult = S_OK;
    xbar.Hide(IID_IBaseFilter);
    EXPECT_EQ(E_FAIL, router.PinAtIndex(itf, 0, TRUE, &pin));
    EXPECT_EQ(7, index);
}

}  // namespace
