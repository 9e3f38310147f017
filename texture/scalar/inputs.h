#pragma once

#include <unordered_set>
#include <vector>

namespace tex {

// The inputs of a texture function: a fixed number of borrowed pointers,
// numbered from 0 and null until connected. The wiring operations of Basis
// and ColourBasis keep theirs in one of these.
template <typename Node>
class Inputs {
public:
    explicit Inputs(int count) : nodes(count > 0 ? count : 0, nullptr), missing(count > 0 ? count : 0) {}

    // Connects `node` as input number `index`, or disconnects it for a null
    // node. Returns false, changing nothing, for any other index.
    bool set(Node* node, int index)
    {
        if (index < 0 || index >= count())
            return false;
        missing += (node == nullptr) - (nodes[index] == nullptr);
        nodes[index] = node;
        return true;
    }

    // As set(), for inputs that are nodes of the owner's own kind, whose
    // inputs `of` names: refuses (returns false, changing nothing) a node
    // that would close a cycle, that is `owner` itself or a node with
    // `owner` among the inputs below it.
    //
    // The walk below `node` is skipped while `owner` is no node's input, so
    // a graph wired from its leaves up, or from its output down, costs
    // nothing extra; otherwise it visits each node below `node` once.
    bool connect(const Node* owner, Node* node, int index, Inputs Node::*of)
    {
        if (node && (node == owner || (isInput && reaches(node, owner, of))))
            return false;
        if (!set(node, index))
            return false;
        if (node)
            (node->*of).isInput = true;
        return true;
    }

    int count() const { return static_cast<int>(nodes.size()); }

    // True when every input is connected (so always when there are none).
    bool allSet() const { return missing == 0; }

    // Input number `index`, 0 <= index < count(); null until connected.
    Node* operator[](int index) const { return nodes[index]; }

private:
    // Whether `target` is `from` or lies among the inputs below it. A walk
    // with a list of its own rather than recursion, so that no depth of
    // graph can overflow the stack, and each node once, so that shared
    // inputs do not multiply the work.
    static bool reaches(const Node* from, const Node* target, Inputs Node::*of)
    {
        std::vector<const Node*> pending{from};
        std::unordered_set<const Node*> seen{from};
        while (!pending.empty()) {
            const Node* node = pending.back();
            pending.pop_back();
            if (node == target)
                return true;
            for (const Node* input : (node->*of).nodes) {
                if (input && seen.insert(input).second)
                    pending.push_back(input);
            }
        }
        return false;
    }

    std::vector<Node*> nodes;
    // How many of `nodes` are null.
    int missing;
    // Set once the node these inputs belong to is connected as an input of
    // another node through connect(), and never cleared: until then nothing
    // leads to it, so no connection it makes can close a cycle.
    bool isInput = false;
};

} // namespace tex
