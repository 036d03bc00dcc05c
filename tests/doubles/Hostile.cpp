#include "doubles/Hostile.h"

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <set>
#include <vector>

#include "doubles/Strict.h"

namespace hostile {
using namespace doubles;

bool on = false;
int chance = 0;
bool devicesSound = false;
long calls = 0;
unsigned long long seed = 0;
Random random{0};

namespace {

const wchar_t cameraName[] = L"Quendal KVX410RB PC Camera";
const size_t cameraLength = sizeof cameraName / sizeof *cameraName - 1;
// The most pages a frame is shown for.
const ULONG maxPages = 64;

// A name that is the camera's, in any case and nothing more.
bool IsCameraName(const VARIANT* name) {
    if (name->vt != VT_BSTR || !name->bstrVal || SysStringLen(name->bstrVal) != cameraLength) return false;
    for (size_t i = 0; i < cameraLength; ++i)
        if (std::towlower(name->bstrVal[i]) != std::towlower(cameraName[i])) return false;
    return true;
}

// Each call site with its method and the number of hostile answers it can get, and the
// answers drawn there. By address: one call instruction of the program.
struct Site {
    std::string method;
    int kinds = 0;
    std::set<int> drawn;
};
std::map<void*, Site>& sites = *new std::map<void*, Site>;

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
        heap = true, filter = real.filter, peer = real.peer, mediaTypes = real.mediaTypes, programOnly = real.programOnly;
    }
    void Gone() override { dead.insert(static_cast<IPin*>(this)), Forget(); }
    static inline std::set<const void*> dead;
};
std::vector<Fresh*>& fresh = *new std::vector<Fresh*>;

}  // namespace

void Begin(uint64_t worldSeed) {
    seed = worldSeed;
    random = Random{worldSeed};
    calls = 0;
    ledger = Ledger{};
    endless.clear();
    on = true;
}

void End() {
    on = false;
    for (Fresh* pin : fresh) delete pin;
    fresh.clear(), Fresh::dead.clear();
    endless.clear();
}

bool Dead(const void* object) { return Fresh::dead.count(object) != 0; }

int Draw(void* site, const char* method, int kinds, const std::string& owner, const void* self) {
    ++calls;
    if (Dead(self)) strict::Complain(owner + "." + method + " after its last release; ");
    if (kinds == 0 || owner == "graph" || owner == "builder" || owner == "mapper" || owner == "devenum") return -1;
    if (devicesSound && (owner == "monikers" || owner == "moniker" || owner == "bag")) return -1;
    Site& s = sites[site];
    s.method = method, s.kinds = kinds;
    const int k = random.Chance(chance) ? random.Below(kinds) : -1;
    if (k >= 0) s.drawn.insert(k);
    static const bool trace = std::getenv("NAVOLET_HOSTILE_TRACE") != nullptr;
    if (trace && calls < 3000) std::printf("  %s.%s%s\n", owner.c_str(), method, k < 0 ? "" : (" hostile " + std::to_string(k)).c_str());
    return k;
}

Coverage Covered() {
    Coverage c;
    static const auto* base = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
    for (const auto& [address, site] : sites) {
        ++c.sites;
        c.pairs += site.kinds;
        c.drawn += static_cast<int>(site.drawn.size());
        for (int k = 0; k < site.kinds; ++k)
            if (!site.drawn.count(k)) {
                char text[96];
                snprintf(text, sizeof text, "%s@+%zx: answer %d; ", site.method.c_str(),
                         static_cast<size_t>(static_cast<const char*>(address) - base), k);
                c.missing += text;
            }
    }
    return c;
}

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
        for (wchar_t& c : text) c = random.Chance(500) ? std::towupper(c) : std::towlower(c);
    }
    value->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace hostile
