#pragma once
// The one record of the capture graph built for the camera, and the operations on it.
#include "platform/ComHolder.h"

class CaptureBuilder;
class CrossbarRouter;

// Room for the camera's name and then some; a longer name is cut here.
const int friendlyNameCapacity = 256;

struct CaptureState {
    char captureFileName[260];
    CaptureBuilder* builder;  // owned
    ComHolder<IAMVideoCompression> videoCompression;
    ComHolder<IAMVfwCaptureDialogs> vfwCaptureDialogs;
    ComHolder<IAMStreamConfig> audioStreamConfig;
    ComHolder<IAMStreamConfig> videoStreamConfig;
    ComHolder<IBaseFilter> videoCaptureFilter;
    ComHolder<IBaseFilter> audioCaptureFilter;
    ComHolder<IGraphBuilder> filterGraph;
    BOOL closedCaptionsAvailable;
    BOOL audioCaptureRelevant;
    ComHolder<IMoniker> videoMoniker;
    ComHolder<IMoniker> audioMoniker;
    WCHAR videoFriendlyName[friendlyNameCapacity];
    CrossbarRouter* crossbarRouter;  // owned
    LONG videoInputCount;
    HWND ownerWindow;
};

extern CaptureState captureState;

// Teardown pair: first TearDownGraph, then ReleaseCaptureFilters.
void TearDownGraph();
void ReleaseCaptureFilters();
void RemoveDownstream(IBaseFilter* filter);

// Device selection.
UINT ConversionCodePage();
BOOL SelectDevice(const char* videoDeviceName, const char* audioDeviceName);
BOOL ChooseDevices(IMoniker* videoMoniker, IMoniker* audioMoniker);

BOOL InitCaptureFilters();

// Tests start each process-wide code-page choice afresh with this.
void ResetConversionCodePageForTest();
