#include "recdb/pointer_chain.h"

#include <new>

TPointerChain::TPointerChain(std::string name) : name_(std::move(name)) {}

TPointerChain::~TPointerChain() {
    Node* node = last_;
    while (node) {
        Node* prev = node->prev;
        delete node;
        node = prev;
    }
}

// Walks from whichever of cursor, first and last is nearest; ties go to the far end.
bool TPointerChain::Locate(int32_t n) {
    const int32_t c = cursorIndex_;
    const int32_t total = count_;
    if (total <= 0 || n <= 0 || n > total)
        return false;
    if (n > c) {
        if (n - c < total - n) {
            while (cursorIndex_ < n) {
                cursor_ = cursor_->next;
                ++cursorIndex_;
                ++steps_;
            }
        } else {
            cursor_ = last_;
            cursorIndex_ = total;
            ++jumps_;
            while (cursorIndex_ > n) {
                cursor_ = cursor_->prev;
                --cursorIndex_;
                ++steps_;
            }
        }
    } else if (n < c) {
        if (c - n < n - 1) {
            while (cursorIndex_ > n) {
                cursor_ = cursor_->prev;
                --cursorIndex_;
                ++steps_;
            }
        } else {
            cursor_ = first_;
            cursorIndex_ = 1;
            ++jumps_;
            while (cursorIndex_ < n) {
                cursor_ = cursor_->next;
                ++cursorIndex_;
                ++steps_;
            }
        }
    }
    return cursorIndex_ == n;
}

void TPointerChain::CursorToFirst() {
    cursor_ = first_;
    cursorIndex_ = first_ ? 1 : 0;
}

void* TPointerChain::Item(int32_t n) {
    return Locate(n) ? cursor_->item : nullptr;
}

void TPointerChain::SetItem(int32_t n, void* item) {
    if (Locate(n))
        cursor_->item = item;
    else
        CursorToFirst();
}

bool TPointerChain::Add(void* item) {
    Node* node = new (std::nothrow) Node{item, nullptr, last_};
    if (!node)
        return false;
    if (!first_) {
        first_ = node;
        cursorIndex_ = 1;
    } else {
        last_->next = node;
        cursorIndex_ = count_ + 1;
    }
    last_ = node;
    cursor_ = node;
    ++count_;
    return true;
}

bool TPointerChain::Delete(int32_t n) {
    if (n < 1) {
        CursorToFirst();
        return false;
    }
    if (!Locate(n))
        return false;
    Node* node = cursor_;
    if (node == first_)
        first_ = node->next;
    if (node == last_)
        last_ = node->prev;
    if (node->prev)
        node->prev->next = node->next;
    if (node->next)
        node->next->prev = node->prev;
    delete node;
    --count_;
    CursorToFirst();
    if (count_ == 0) {
        first_ = last_ = nullptr;
    }
    return true;
}
