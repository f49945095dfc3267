#pragma once

#include <cstdint>
#include <string>

// An ordered list of untyped pointers in a doubly linked chain with a cursor
// on the node last reached, so that walking to the same or a neighbouring
// position costs one step or none. The chain never owns what its items point to.
class TPointerChain {
public:
    explicit TPointerChain(std::string name = {});
    ~TPointerChain();
    TPointerChain(const TPointerChain&) = delete;
    TPointerChain& operator=(const TPointerChain&) = delete;

    int32_t Count() const { return count_; }
    // Item at 1-based position n, or nullptr outside 1 .. Count; moves the cursor to n.
    void* Item(int32_t n);
    // Replaces the item at n; outside 1 .. Count nothing changes and the
    // cursor returns to the first node.
    void SetItem(int32_t n, void* item);
    // Appends; false only when no memory could be had for the node.
    bool Add(void* item);
    // Frees node n (not its item); afterwards the cursor is on the first node.
    bool Delete(int32_t n);

    const std::string& ChainName() const { return name_; }
    int32_t CursorIndex() const { return cursorIndex_; }
    // Walk statistics, so the cost of access patterns can be checked:
    // node-to-node steps and jumps to the first or last node.
    int64_t WalkSteps() const { return steps_; }
    int64_t EndJumps() const { return jumps_; }

private:
    struct Node {
        void* item;
        Node* next;
        Node* prev;
    };

    bool Locate(int32_t n);
    void CursorToFirst();

    int32_t count_ = 0;
    Node* cursor_ = nullptr;
    int32_t cursorIndex_ = 0;
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    std::string name_;
    int64_t steps_ = 0;
    int64_t jumps_ = 0;
};
