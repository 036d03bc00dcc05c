#pragma once
#include <gtest/gtest.h>
#include <vector>
#include "crossbar/Allocation.h"
#include "crossbar/CrossbarRouter.h"
#include "doubles/ComDoubles.h"

// Connector types as the platform numbers them.
constexpr LONG kTuner = PhysConn_Video_Tuner;
constexpr LONG kComposite = PhysConn_Video_Composite;
constexpr LONG kSVideo = PhysConn_Video_SVideo;
constexpr LONG kDecoderOut = PhysConn_Video_VideoDecoder;
constexpr LONG kAudioLine = PhysConn_Audio_Line;
constexpr LONG kAudioDecoderOut = PhysConn_Audio_AudioDecoder;

// Each stored route as a copy of its elements, walked from element 0 downstream.
inline std::vector<std::vector<RoutingEntry>> StoredRoutes(const CrossbarRouter& router) {
    std::vector<std::vector<RoutingEntry>> all;
    for (ListNode* node = router.routes ? router.routes->head : nullptr; node; node = node->next) {
        std::vector<RoutingEntry> route;
        for (auto* e = static_cast<RoutingEntry*>(node->item); e; e = e->downstream) route.push_back(*e);
        all.push_back(route);
    }
    return all;
}

// Element 0 of the r-th stored route.
inline RoutingEntry* StoredRoute(const CrossbarRouter& router, int r) {
    ListNode* node = router.routes->head;
    for (int i = 0; i < r && node; ++i) node = node->next;
    return node ? static_cast<RoutingEntry*>(node->item) : nullptr;
}

// Counts the router's allocations and can make the n-th one fail.
class CountingAllocator {
public:
    explicit CountingAllocator(int failAt = 0)
        : allocate(crossbar::Allocate, &Allocate), release(crossbar::Free, &Free) {
        current = this;
        this->failAt = failAt;
    }
    ~CountingAllocator() { current = nullptr; }
    int allocations = 0;
    int frees = 0;
    int failAt;

private:
    static void* Allocate(size_t bytes) {
        if (++current->allocations == current->failAt) return nullptr;
        return std::malloc(bytes);
    }
    static void Free(void* block) {
        if (block) ++current->frees;
        std::free(block);
    }
    static inline CountingAllocator* current = nullptr;
    SeamOverride<void* (*)(size_t)> allocate;
    SeamOverride<void (*)(void*)> release;
};
