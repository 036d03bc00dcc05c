#include "doubles/Answers.h"

#include <cstdio>
#include <cwctype>
#include <map>
#include <set>

#include "doubles/Strict.h"

namespace answers {
using namespace doubles;

Chooser chooser;

namespace {

const wchar_t cameraName[] = L"Quendal KVX410RB PC Camera";
const size_t cameraLength = sizeof cameraName / sizeof *cameraName - 1;
// The most pages a frame is shown for.
const ULONG maxPages = 64;
const char* const firstNames[] = {"failed", "oddly successful", "S_FALSE with its objects"};

// A name that is the camera's, in any case and nothing more.
bool IsCameraName(const VARIANT* name) {
    if (name->vt != VT_BSTR || !name->bstrVal || SysStringLen(name->bstrVal) != cameraLength) return false;
    for (size_t i = 0; i < cameraLength; ++i)
        if (std::towlower(name->bstrVal[i]) != std::towlower(cameraName[i])) return false;
    return true;
}

std::set<void*>& endless = *new std::set<void*>;

// What the program was told, by object: each device as the moniker enumerator delivered
// it, the bag bound from it, whether its name was read already.
struct Ledger {
    std::map<void*, int> deviceOf, bagOf;  // moniker, bag -> device
    std::vector<bool> read;
    int chosen = -1, lastRead = -1;
    void *filter = nullptr, *pages = nullptr;
    bool sound = false, captureRemoved = false;
} ledger;

// A new pin object each time: a copy of a double's pin, with a life of its own. After its
// last release it is kept, not freed, so that a later use is seen.
struct Fresh : FakePin {
    explicit Fresh(const FakePin& real) : FakePin(real.name + " fresh", real.direction, real.category) {
        heap = true, filter = real.filter, mediaTypes = real.mediaTypes, programOnly = real.programOnly;
        Hold(peer = real.peer, +1);
    }
    void Gone() override { dead.insert(static_cast<IPin*>(this)), Forget(), Hold(peer, -1); }
    static inline std::set<const void*> dead;
};
std::vector<Fresh*>& fresh = *new std::vector<Fresh*>;

// A run that does not end stops the test program, which says which run it was: one that has
// gone on this long, or whose recursion has nearly used up the stack (Wine does not survive
// a stack overflow: the process hangs).
const DWORD hangMilliseconds = 60000;
const ULONG_PTR stackMargin = 256 * 1024;
volatile DWORD started;

// At once: what a run left half done may hold up an orderly exit.
[[noreturn]] void Stop(const std::string& why) {
    std::printf("FAILED %s: %s\n", chooser.Now().c_str(), why.c_str());
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 4);
    for (;;) Sleep(INFINITE);
}

DWORD WINAPI Watchdog(void*) {
    for (;; Sleep(1000))
        if (chooser.active && GetTickCount() - started > hangMilliseconds)
            Stop("the run has not ended after " + std::to_string(hangMilliseconds / 1000) + " s");
}

void CheckStack() {
    static const auto limits = reinterpret_cast<void(WINAPI*)(PULONG_PTR, PULONG_PTR)>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetCurrentThreadStackLimits")));
    ULONG_PTR low = 0, high = 0;
    limits(&low, &high);
    if (reinterpret_cast<ULONG_PTR>(&low) - low < stackMargin) Stop("the run has nearly used up its stack");
}

// A run starts with nothing told and no object answering as an earlier run had it answer.
void Start() {
    static const bool watched = CloseHandle(CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr));
    (void)watched, started = GetTickCount();
    chooser.active = true, chooser.fired = false, chooser.calls = 0;
    ledger = Ledger{};
    endless.clear();
    for (Fresh* pin : fresh) delete pin;
    fresh.clear(), Fresh::dead.clear();
}

}  // namespace

const char* Chooser::Call::Name(int k) const { return k < hostile ? firstNames[k] : names[k - hostile]; }

void Chooser::Arm(int call, int armed) {
    drawing = false, soundDevices = false, target = call, answer = armed, random = Random{0};
    if (call < 0) recorded.clear();
    Start();
}

void Chooser::Draw(uint64_t worldSeed) {
    drawing = true, seed = worldSeed, random = Random{worldSeed};
    Start();
}

std::string Chooser::Now() const {
    if (drawing) return "seed " + std::to_string(seed);
    if (target < 0) return "a recording run";
    const std::string call = "call " + std::to_string(target);
    return target < int(recorded.size()) ? call + " " + recorded[target].text + " " + recorded[target].Name(answer) : call;
}

bool Chooser::Driver(const std::string& owner) const {
    if (owner == "graph" || owner == "builder" || owner == "mapper" || owner == "devenum") return false;
    return !(soundDevices && (owner == "monikers" || owner == "moniker" || owner == "bag"));
}

int Chooser::Chosen(const void* self, const std::string& owner, const char* method, int hostileKinds) {
    if (Dead(self)) strict::Complain(owner + "." + method + " after its last release; ");
    CheckStack();
    int k = -1;
    if (!drawing && calls == target) fired = true, k = answer;
    if (drawing && hostileKinds && random.Chance(chance)) k = hostile + random.Below(hostileKinds);
    return ++calls, k;
}

bool Dead(const void* object) { return Fresh::dead.count(object) != 0; }

void NoteDevice(void* moniker) {
    ledger.deviceOf[moniker] = static_cast<int>(ledger.read.size());
    ledger.read.push_back(false);
}

void NoteBag(void* moniker, void* bag) {
    auto d = ledger.deviceOf.find(moniker);
    if (d != ledger.deviceOf.end()) ledger.bagOf[bag] = d->second;
}

// The first read of each device's name is the one the choice rests on.
void NoteName(void* bag, const VARIANT* name) {
    auto d = ledger.bagOf.find(bag);
    if (d == ledger.bagOf.end() || ledger.read[d->second]) return;
    ledger.read[d->second] = true, ledger.lastRead = d->second;
    if (ledger.chosen < 0 && IsCameraName(name)) ledger.chosen = d->second;
}

void NoteFilter(void* moniker, void* filter) {
    auto d = ledger.deviceOf.find(moniker);
    if (d != ledger.deviceOf.end() && d->second == ledger.chosen) ledger.filter = filter;
}

void NotePages(void* filter, void* pages) {
    if (filter && filter == ledger.filter) ledger.pages = pages;
}

void NotePageList(void* pages, HRESULT hr, const CAUUID* list) {
    if (pages && pages == ledger.pages)
        ledger.sound = SUCCEEDED(hr) && list->pElems && list->cElems >= 1 && list->cElems <= maxPages;
}

void NoteNoCameraName() {
    if (ledger.chosen >= 0 && ledger.chosen == ledger.lastRead) ledger.chosen = -1;
}

void NoteRemoved(void* filter) { ledger.captureRemoved = ledger.captureRemoved || (filter && filter == ledger.filter); }

bool FrameDue() { return ledger.sound; }
bool CaptureFilterRemoved() { return ledger.captureRemoved; }

bool Endless(void* enumerator) { return endless.count(enumerator) != 0; }
void MakeEndless(void* enumerator) { endless.insert(enumerator); }

IPin* FreshPin(IPin* real) {
    auto* double_ = dynamic_cast<FakePin*>(DoubleOf(real));
    if (!double_) return nullptr;  // only a double's pin can be copied
    return fresh.push_back(new Fresh(*double_)), fresh.back();
}

void Answers<LPCOLESTR, VARIANT*, IErrorLog*>::Name(int k, VARIANT* value) {
    std::wstring text = cameraName;
    value->vt = VT_BSTR;
    switch (k) {
    case 0: value->vt = VT_EMPTY; return;
    case 1: text.clear(); break;
    case 2: value->vt = VT_I4, value->lVal = 42; return;
    case 3: value->bstrVal = nullptr; return;
    case 4: text += std::wstring(1, L'\0') + L"2"; break;
    case 5: text.resize(10000, L'x'); break;
    default:
        for (wchar_t& c : text) c = chooser.random.Chance(500) ? std::towupper(c) : std::towlower(c);
    }
    value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace answers
