#pragma once
// Every route by which a video signal can reach a capture filter's analog video input
// through the chain of crossbar switches upstream of it.
#include "platform/Win.h"

struct ListNode {
    ListNode* prev;
    ListNode* next;
    void* item;
};

// A doubly linked list of untyped items that keeps a few spare nodes for reuse.
// It owns its nodes, never its items.
class PointerList {
public:
    PointerList(const char* name, int cacheCapacity);
    ~PointerList();
    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;

    ListNode* AddTail(void* item);
    void* Remove(ListNode* node);
    void* RemoveHead();
    void RemoveAll();

    ListNode* head = nullptr;
    ListNode* tail = nullptr;
    int count = 0;
    const int cacheCapacity;
    int cacheCount = 0;
    ListNode* cacheHead = nullptr;
};

// One crossbar on one route.
struct RoutingEntry {
    RoutingEntry* upstream;
    RoutingEntry* downstream;
    LONG inputIndex;
    LONG outputIndex;
    LONG inputRelatedIndex;
    LONG outputRelatedIndex;
    IAMCrossbar* crossbar;
    LONG inputPhysicalType;
    LONG outputPhysicalType;
    LONG depth;
};

class CrossbarRouter {
public:
    // Levels of crossbars followed upstream of the start pin. Real chains have one or
    // two; a crossbar already on the path is not entered again.
    static constexpr LONG maxDepth = 32;
    // The whole walk's work: crossbars entered and routes stored. A real card has one or
    // two crossbars and a few routes; crossbars that feed several inputs each of the next
    // would otherwise double the walk with every level.
    static constexpr LONG maxCrossbarVisits = 64;
    static constexpr LONG maxRoutes = 1024;
    // TraceRoutes: the path ends at the caller's crossbar.
    static constexpr HRESULT pathEnds = 1;

    CrossbarRouter(IPin* startPin, HRESULT* result);
    ~CrossbarRouter();
    CrossbarRouter(const CrossbarRouter&) = delete;
    CrossbarRouter& operator=(const CrossbarRouter&) = delete;

    HRESULT GetRouteCount(LONG* count);
    HRESULT DestroyRoutes();

    // The walk; public so tests can drive the pieces.
    HRESULT TraceRoutes(IPin* pin, RoutingEntry* entry, LONG depth);
    HRESULT StoreRoute(RoutingEntry* entry);
    HRESULT PinAtIndex(IAMCrossbar* crossbar, LONG index, BOOL isInput, IPin** pin);
    HRESULT IndexOfPin(IAMCrossbar* crossbar, LONG* index, BOOL isInput, IPin* pin, LONG* position = nullptr);

    // The routes stored have reached maxRoutes.
    bool RoutesFull() const { return routes && routes->count >= maxRoutes; }

    IPin* startPin;
    PointerList* routes = nullptr;
    RoutingEntry rootEntry;
    LONG crossbarVisits = 0;
};
