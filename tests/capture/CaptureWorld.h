#pragma once
// What the capture tests share: a record emptied before and after each test, and a
// camera world of doubles (class registry, platform builder, graph, camera filter and
// its device moniker).
#include "capture/CaptureState.h"
#include "doubles/ComDoubles.h"
#include <gtest/gtest.h>

// Releases everything the record holds, monikers too, and zeroes its plain values.
void EmptyCaptureState();

// Journal entries that start with prefix, joined by spaces.
std::string EntriesStartingWith(const doubles::Journal& journal, const std::string& prefix);
// Journal entries that end with suffix, joined by spaces.
std::string EntriesEndingWith(const doubles::Journal& journal, const std::string& suffix);

// The record is empty on entry and is emptied on the way out; doubles are checked after.
class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override { EmptyCaptureState(); }
    void TearDown() override { EmptyCaptureState(); }
};

// A stream-format control whose current format is a media type of the test's choosing.
class FakeStreamConfig : public doubles::ComDouble, public IAMStreamConfig {
public:
    explicit FakeStreamConfig(std::string name, GUID majorType, doubles::Journal* journal = nullptr)
        : ComDouble(std::move(name), journal) { format.majortype = majorType; format.format.resize(88); }
    DOUBLE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (FAILED(getFormatResult)) return getFormatResult;
        *out = doubles::NewMediaType(format);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int*, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStreamCaps(int, AM_MEDIA_TYPE**, BYTE*) override { return E_NOTIMPL; }

    doubles::MediaType format;
    HRESULT getFormatResult = S_OK;

protected:
    void* Native(REFIID iid) override {
        return iid == IID_IUnknown || iid == IID_IAMStreamConfig ? static_cast<IAMStreamConfig*>(this)
                                                                 : nullptr;
    }
};

// The camera as the platform would show it: registered classes, one device moniker whose
// bag carries the camera's name and whose object is the capture filter with a capture pin.
struct CameraWorld {
    explicit CameraWorld(doubles::Journal* journal = nullptr);
    // Puts the camera's moniker into the record, as device selection does.
    void ChooseCamera();

    doubles::Journal* journal;
    doubles::FakeClassRegistry registry;
    doubles::FakeCaptureGraphBuilder platformBuilder;
    doubles::FakeGraph graph;
    doubles::FakeFilter camera;
    doubles::FakePin captureOut;
    doubles::FakePropertyBag bag;
    doubles::FakeMoniker moniker;
};
