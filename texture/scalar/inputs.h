#pragma once

#include <algorithm>
#include <vector>

namespace tex {

// The inputs of a texture function: a fixed number of borrowed pointers,
// numbered from 0 and null until connected. The wiring operations of Basis
// and ColourBasis keep theirs in one of these.
template <typename Node>
class Inputs {
public:
    explicit Inputs(int count) : nodes(count > 0 ? count : 0, nullptr) {}

    // Connects `node` as input number `index`; any other index is ignored.
    void set(Node* node, int index)
    {
        if (index >= 0 && index < count())
            nodes[index] = node;
    }

    int count() const { return static_cast<int>(nodes.size()); }

    // True when every input is connected (so always when there are none).
    bool allSet() const { return std::find(nodes.begin(), nodes.end(), nullptr) == nodes.end(); }

    // Input number `index`, 0 <= index < count(); null until connected.
    Node* operator[](int index) const { return nodes[index]; }

private:
    std::vector<Node*> nodes;
};

} // namespace tex
