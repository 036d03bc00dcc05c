#pragma once
// The base of every COM test double: a reference count that the test can audit, an
// optional journal of calls, and QueryInterface over the double's own interfaces plus any
// object the test exposes under an extra interface id.
//
// Ownership: a double made by the test (on the stack or as a member) starts with one
// reference, the test's, and is never deleted by Release. A double that another double
// hands out (an enumerator) lives on the heap and deletes itself at zero.
// Destroying a test-owned double that is not back to its one reference fails the test.
#include "platform/Win.h"
#include <string>
#include <utility>
#include <vector>

namespace doubles {

// Ordered record of calls, shared by the doubles of one test: "name.Method(args)".
class Journal {
public:
    void Add(const std::string& entry) { entries.push_back(entry); }
    void Clear() { entries.clear(); }
    // Entries joined by single spaces, for one EXPECT_EQ.
    std::string Text() const;
    // Position of the first entry equal to what, or -1.
    int IndexOf(const std::string& what) const;
    std::vector<std::string> entries;
};

class ComDouble {
public:
    explicit ComDouble(std::string name, Journal* journal = nullptr);
    virtual ~ComDouble();
    ComDouble(const ComDouble&) = delete;
    ComDouble& operator=(const ComDouble&) = delete;

    // QueryInterface for iid answers with object (AddRef'd on the object itself).
    void Expose(REFIID iid, IUnknown* object);
    // QueryInterface for iid fails even when the double implements it.
    void Hide(REFIID iid);
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
    // The double's own interface for iid, or null.
    virtual void* Native(REFIID iid) = 0;
    HRESULT DoQueryInterface(REFIID iid, void** out);
    ULONG DoAddRef();
    ULONG DoRelease();
    void Log(const std::string& what);
};

// The double behind any interface pointer of a double, or null for a foreign object.
ComDouble* AsDouble(IUnknown* object);
// A double's name, "null" for null, "?" for a foreign object.
std::string NameOf(IUnknown* object);
std::string Narrow(LPCWSTR text);
std::wstring Wide(const std::string& text);

// Every double alive now: test-owned ones at their baseline, no heap double left.
void ExpectAllBalanced(const char* file, int line);
// Rebase every live double (after the arrangement of a test, before the act).
void RebaseAll();
// Number of heap doubles alive.
int LiveHeapDoubles();

}  // namespace doubles

#define EXPECT_DOUBLES_BALANCED() ::doubles::ExpectAllBalanced(__FILE__, __LINE__)

// IUnknown for a double deriving from ComDouble and one or more interfaces.
#define DOUBLE_IUNKNOWN                                                                   \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {           \
        return DoQueryInterface(iid, out);                                                \
    }                                                                                     \
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }                      \
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }
