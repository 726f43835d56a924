// Unit OBLDynLIFOBuffer: a last-in-first-out stack of memory blocks in a singly
// linked list, with an optional depth limit (drop the oldest entry in circle
// mode, else refuse the new one). The edit engine keeps its undo and redo
// records in two of them.
#pragma once

#include "obl/core/formats/OBLBuffer.h"

#include <cstddef>
#include <vector>

struct TOBLDynNode {
    void* Item;
    TOBLDynNode* Next; // the next older node; null on the oldest
};
using POBLDynNode = TOBLDynNode*;

class TOBLDynLIFOBuffer : public TOBLBuffer {
    VENDARO_CLASS(TOBLDynLIFOBuffer, TOBLBuffer)
public:
    TOBLDynLIFOBuffer();
    ~TOBLDynLIFOBuffer() override;

    void FirstNode(void*& Node) override;
    void NextNode(void*& Node) override;
    void* GetItem(void* Node) override;
    bool EOFBuffer(void* Node) override;
    bool isEmpty() override;
    bool isFull() override;
    void Put(void* Item) override;
    void* Get() override;
    void Clear() override;

    // Destroys one item: through OnDestroyItem when assigned, else by releasing
    // its block.
    void clearItem(void* Item);

    bool CircleMode() const { return circleMode_; }
    void SetCircleMode(bool value) { circleMode_ = value; }
    POBLDynNode Top() const { return top_; }

protected:
    bool TryPut(void* Item) override;

private:
    void DropOldest();
    void Push(void* Item);
    void Changed() { walk_.clear(); }

    bool circleMode_ = true;
    POBLDynNode top_ = nullptr;
    // The nodes from the oldest to the newest, gathered by FirstNode so that each NextNode
    // of the walk is one step instead of a search from the top; dropped by every change.
    std::vector<POBLDynNode> walk_;
    std::size_t walkAt_ = 0;
};
