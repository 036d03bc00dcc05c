#include "CaptureWorld.h"

void EmptyCaptureState() {
    ReleaseCaptureFilters();
    CaptureState& s = captureState;
    s.videoMoniker.Clear();
    s.audioMoniker.Clear();
    s.captureFileName[0] = '\0';
    s.videoFriendlyName[0] = L'\0';
    s.closedCaptionsAvailable = FALSE;
    s.audioCaptureRelevant = FALSE;
    s.videoInputCount = 0;
    s.ownerWindow = nullptr;
}

namespace {
std::string Join(const doubles::Journal& journal, bool (*keep)(const std::string&, const std::string&),
                 const std::string& what) {
    std::string text;
    for (const std::string& e : journal.entries)
        if (keep(e, what)) text += (text.empty() ? "" : " ") + e;
    return text;
}
}  // namespace

std::string EntriesStartingWith(const doubles::Journal& journal, const std::string& prefix) {
    return Join(journal, [](const std::string& e, const std::string& p) { return e.rfind(p, 0) == 0; },
                prefix);
}

std::string EntriesEndingWith(const doubles::Journal& journal, const std::string& suffix) {
    return Join(journal, [](const std::string& e, const std::string& s) {
        return e.size() >= s.size() && e.compare(e.size() - s.size(), s.size(), s) == 0;
    }, suffix);
}

CameraWorld::CameraWorld(doubles::Journal* journal)
    : journal(journal),
      platformBuilder("platformBuilder", journal),
      graph("graph", journal),
      camera("cam", journal),
      captureOut("cam.out", PINDIR_OUTPUT, journal),
      bag("cam.bag", L"Quendal KVX410RB PC Camera", journal),
      moniker("cam.moniker", &bag, static_cast<IBaseFilter*>(&camera), journal) {
    registry.Register(CLSID_CaptureGraphBuilder2, &platformBuilder);
    registry.Register(CLSID_FilterGraph, &graph);
    captureOut.hasCategory = true;
    captureOut.category = PIN_CATEGORY_CAPTURE;
    camera.AddPin(captureOut);
}

void CameraWorld::ChooseCamera() { captureState.videoMoniker = &moniker; }
