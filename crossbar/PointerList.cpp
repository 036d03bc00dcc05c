#include "crossbar/Allocation.h"
#include "crossbar/CrossbarRouter.h"

// The name only labels the list for its owner; it is not kept.
PointerList::PointerList(const char*, int cacheCapacity) : cacheCapacity(cacheCapacity) {}

PointerList::~PointerList() {
    RemoveAll();
    while (cacheHead) {
        ListNode* spare = cacheHead;
        cacheHead = spare->next;
        crossbar::Free(spare);
    }
    cacheCount = 0;
}

ListNode* PointerList::AddTail(void* item) {
    ListNode* node;
    if (cacheHead) {
        node = cacheHead;
        cacheHead = node->next;
        --cacheCount;
    } else {
        node = static_cast<ListNode*>(crossbar::Allocate(sizeof(ListNode)));
        if (!node) return nullptr;
    }
    node->item = item;
    node->next = nullptr;
    node->prev = tail;
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
    ++count;
    return node;
}

void* PointerList::Remove(ListNode* node) {
    if (!node) return nullptr;
    if (node->prev)
        node->prev->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail = node->prev;
    void* item = node->item;
    if (cacheCount < cacheCapacity) {
        node->next = cacheHead;
        cacheHead = node;
        ++cacheCount;
    } else {
        crossbar::Free(node);
    }
    --count;
    return item;
}

void* PointerList::RemoveHead() { return head ? Remove(head) : nullptr; }

void PointerList::RemoveAll() {
    while (head) {
        ListNode* node = head;
        head = node->next;
        crossbar::Free(node);
    }
    tail = nullptr;
    count = 0;
}
