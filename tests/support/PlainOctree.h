// The octree quantiser written plainly, for tests to hold the real one
// against: no pool, no leaf cache, every pixel walks down from the root.
#pragma once

#include "imaging/DibPalette.h"

#include <memory>
#include <vector>

namespace pelmira::testing {

class PlainOctree {
public:
    explicit PlainOctree(int leafLevel) : leafLevel_(leafLevel) {}

    void Add(int r, int g, int b) {
        AddColor(root_, r, g, b, 0);
        while (leaves_ > 236)
            Reduce();
    }
    std::vector<PaletteEntry> Palette() const {
        std::vector<PaletteEntry> out;
        if (root_)
            Fill(*root_, out);
        return out;
    }

private:
    struct Node {
        bool leaf = false;
        long long count = 0, r = 0, g = 0, b = 0;
        std::unique_ptr<Node> child[8];
    };
    void AddColor(std::unique_ptr<Node>& slot, int r, int g, int b, int level) {
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->leaf = level == leafLevel_;
            if (slot->leaf)
                ++leaves_;
            else
                lists_[level].push_back(slot.get());
        }
        if (slot->leaf) {
            ++slot->count;
            slot->r += r;
            slot->g += g;
            slot->b += b;
            return;
        }
        const int s = 7 - level;
        AddColor(slot->child[((r >> s) & 1) * 4 + ((g >> s) & 1) * 2 + ((b >> s) & 1)], r, g, b,
                 level + 1);
    }
    void Reduce() {
        int level = leafLevel_ - 1;
        while (level > 0 && lists_[level].empty())
            --level;
        Node* n = lists_[level].back();
        lists_[level].pop_back();
        int merged = 0;
        for (auto& c : n->child)
            if (c) {
                n->count += c->count;
                n->r += c->r;
                n->g += c->g;
                n->b += c->b;
                c.reset();
                ++merged;
            }
        n->leaf = true;
        leaves_ -= merged - 1;
    }
    void Fill(const Node& n, std::vector<PaletteEntry>& out) const {
        if (n.leaf) {
            out.push_back({static_cast<std::uint8_t>(n.r / n.count),
                           static_cast<std::uint8_t>(n.g / n.count),
                           static_cast<std::uint8_t>(n.b / n.count)});
            return;
        }
        for (const auto& c : n.child)
            if (c)
                Fill(*c, out);
    }

    int leafLevel_;
    int leaves_ = 0;
    std::unique_ptr<Node> root_;
    std::vector<Node*> lists_[9];
};

} // namespace pelmira::testing
