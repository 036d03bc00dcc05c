#pragma once
#include "platform/Win.h"

// Connects outputPin straight to the first input pin of filter that accepts it, with no
// media type and no intermediate filters. S_OK when connected; S_FALSE when no input pin
// accepted it; E_FAIL when outputPin is not an output pin; or the failure of EnumPins.
// Unlike ConnectPinToFilter it never removes the filter from the graph.
HRESULT ConnectToFirstInputPin(IFilterGraph* graph, IPin* outputPin, IBaseFilter* filter);
