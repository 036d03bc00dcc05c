#pragma once
// The base of every COM test double: a reference count the test can audit, an optional
// journal of calls, and QueryInterface over the double's own interfaces plus any object
// the test exposes under an extra interface id.
//
// A double made by the test (stack or member) starts with one reference, the test's, and
// is never deleted by Release; destroying it with any other count fails the test. A double
// that another double hands out (an enumerator) lives on the heap and deletes itself.
#include "doubles/SeamOverride.h"
#include "platform/Win.h"
#include <string>
#include <utility>
#include <vector>

namespace doubles {

// Ordered record of calls shared by the doubles of one test: "name.Method(args)".
struct Journal {
    void Add(const std::string& entry) { entries.push_back(entry); }
    void Clear() { entries.clear(); }
    std::string Text() const {  // entries joined by single spaces
        std::string text;
        for (const auto& e : entries) text += (text.empty() ? "" : " ") + e;
        return text;
    }
    int IndexOf(const std::string& what) const {  // first equal entry, or -1
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == what) return int(i);
        return -1;
    }
    std::vector<std::string> entries;
};

class ComDouble {
public:
    explicit ComDouble(std::string name, Journal* journal = nullptr);
    virtual ~ComDouble();
    ComDouble(const ComDouble&) = delete;
    ComDouble& operator=(const ComDouble&) = delete;

    // QueryInterface for iid answers with object (AddRef'd on the object itself).
    void Expose(REFIID iid, IUnknown* object) { exposed.emplace_back(iid, object); }
    // QueryInterface for iid fails even when the double implements it.
    void Hide(REFIID iid) { hidden.push_back(iid); }
    // Takes the present count as the one EXPECT_DOUBLES_BALANCED compares with.
    void Rebase() { baseline = refs; }

    std::string name;
    Journal* journal;
    LONG refs = 1;
    LONG baseline = 1;
    bool heap = false;          // deletes itself when the count reaches zero
    bool journalRefs = false;   // writes "name.AddRef" / "name.Release" into the journal
    std::vector<std::pair<IID, IUnknown*>> exposed;
    std::vector<IID> hidden;

protected:
    virtual void* Native(REFIID iid) = 0;  // the double's own interface for iid, or null
    HRESULT DoQueryInterface(REFIID iid, void** out);
    ULONG DoAddRef() { return journalRefs ? Log("AddRef") : void(), ++refs; }
    ULONG DoRelease();
    void Log(const std::string& what) { if (journal) journal->Add(name + "." + what); }
};

#define DOUBLE_IUNKNOWN                                                                   \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {           \
        return DoQueryInterface(iid, out);                                                \
    }                                                                                     \
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }                      \
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

// For methods nothing calls: a constant answer.
#define DOUBLE_STUB(name, params, answer) \
    HRESULT STDMETHODCALLTYPE name params override { return answer; }

// A double of the interfaces First, Rest...: IUnknown answers with First.
template <class First, class... Rest>
class Double : public ComDouble, public First, public Rest... {
public:
    using ComDouble::ComDouble;
    DOUBLE_IUNKNOWN

protected:
    void* Native(REFIID iid) override {
        void* found = iid == IID_IUnknown || iid == __uuidof(First) ? static_cast<First*>(this) : nullptr;
        ((found = found ? found : iid == __uuidof(Rest) ? static_cast<Rest*>(this) : nullptr), ...);
        return found;
    }
};

// The double behind any interface pointer of a double, or null for a foreign object.
ComDouble* AsDouble(IUnknown* object);
// A double's name, "null" for null, "?" for a foreign object.
inline std::string NameOf(IUnknown* object) { return AsDouble(object) ? AsDouble(object)->name : object ? "?" : "null"; }
inline std::string Narrow(LPCWSTR text) { return text ? std::string(text, text + lstrlenW(text)) : std::string(); }
inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Every live double: test-owned ones at their baseline, no heap double left.
void ExpectAllBalanced(const char* file, int line);
// Rebases every live double (after the arrangement of a test, before the act).
void RebaseAll();
// Number of heap doubles alive.
int LiveHeapDoubles();

// Media types as a test writes them.
struct MediaType {
    MediaType(const GUID& majortype = GUID_NULL, const GUID& subtype = GUID_NULL,
              const GUID& formattype = GUID_NULL, std::vector<BYTE> format = {})
        : majortype(majortype), subtype(subtype), formattype(formattype), format(std::move(format)) {}
    GUID majortype, subtype, formattype;
    std::vector<BYTE> format;
};

// Task memory doubles hand out (media types, medium and page lists, pin ids): tracked
// while a TaskMemWatch lives, which routes platform::CoTaskMemFree through the tracker.
void* TaskAlloc(size_t bytes);
// A task-allocated AM_MEDIA_TYPE with its format block, as IEnumMediaTypes::Next hands out.
AM_MEDIA_TYPE* NewMediaType(const MediaType& type);

class TaskMemWatch {
public:
    TaskMemWatch();
    ~TaskMemWatch();
    int Outstanding() const;  // blocks handed out since the watch began and not freed yet

private:
    SeamOverride<decltype(platform::CoTaskMemFree)> seam;
};

}  // namespace doubles

#define EXPECT_DOUBLES_BALANCED() ::doubles::ExpectAllBalanced(__FILE__, __LINE__)
