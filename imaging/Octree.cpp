#include "imaging/Octree.h"

#include <algorithm>
#include <array>
#include <memory>

namespace pelmira {

namespace {

constexpr std::array<std::uint8_t, 8> kLevelMask = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};

// Wide sums: a leaf may gather every pixel of a picture of any size.
struct Sums {
    std::int64_t pixelCount = 0;
    std::int64_t red = 0;
    std::int64_t green = 0;
    std::int64_t blue = 0;

    void Add(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        ++pixelCount;
        red += r;
        green += g;
        blue += b;
    }
    void Add(const Sums& other) {
        pixelCount += other.pixelCount;
        red += other.red;
        green += other.green;
        blue += other.blue;
    }
};

// Neighbouring pixels mostly end in the same leaf. Adding them all to one set
// of sums would make every pixel wait for the previous one's store; pixels
// take turns over a few sets instead, added up whenever the leaf is read.
constexpr std::size_t kSumBanks = 4;

struct Node {
    bool leaf = false;
    // A colour of the node's cell: its top bits, down to the node's level,
    // are those of every colour below it.
    std::uint8_t red = 0, green = 0, blue = 0;
    std::array<Sums, kSumBanks> banks{};
    std::array<Node*, 8> children{};
    Node* nextReducible = nullptr;

    Sums Total() const {
        Sums total;
        for (const Sums& bank : banks)
            total.Add(bank);
        return total;
    }
};

// Nodes come from chunks and go back to a free list: the tree is built and
// reduced thousands of times over for a large picture.
class NodePool {
public:
    Node* Take() {
        Node* node = free_;
        if (node) {
            free_ = node->nextReducible;
        } else {
            if (used_ == kChunk) {
                chunks_.push_back(std::make_unique<Node[]>(kChunk));
                used_ = 0;
            }
            node = &chunks_.back()[used_++];
        }
        *node = Node{};
        return node;
    }
    void Give(Node* node) {
        node->nextReducible = free_;
        free_ = node;
    }

private:
    static constexpr std::size_t kChunk = 256;
    std::vector<std::unique_ptr<Node[]>> chunks_;
    std::size_t used_ = kChunk;
    Node* free_ = nullptr;
};

// For each cell of the colour cube at the map's depth (the leaf level, at
// most 6 bits per component): the leaf that every colour of the cell walks
// down to, when that leaf lies no deeper than the map; else none. Leaves
// appear only when one is made or a node is merged into one, and then take
// over their whole cell, so the map stays exact and a pixel found in it
// needs no walk down the tree.
class LeafMap {
public:
    explicit LeafMap(int levels)
        : levels_(levels), cells_(std::size_t{1} << (3 * levels), nullptr) {}

    int Levels() const { return levels_; }
    Node* Find(std::uint32_t cell) const { return cells_[cell]; }

    // `leaf` sits at `level` (no deeper than the map): every cell below it is its own.
    void Cover(Node* leaf, int level) {
        const int span = levels_ - level;
        const std::uint32_t side = 1u << span;
        const std::uint32_t r0 = static_cast<std::uint32_t>(leaf->red >> (8 - level)) << span;
        const std::uint32_t g0 = static_cast<std::uint32_t>(leaf->green >> (8 - level)) << span;
        const std::uint32_t b0 = static_cast<std::uint32_t>(leaf->blue >> (8 - level)) << span;
        for (std::uint32_t r = r0; r < r0 + side; ++r)
            for (std::uint32_t g = g0; g < g0 + side; ++g) {
                Node** row = &cells_[(r << (2 * levels_)) | (g << levels_) | b0];
                std::fill(row, row + side, leaf);
            }
    }

private:
    const int levels_;
    std::vector<Node*> cells_;
};

constexpr int kMapLevels = 6;

class Octree {
public:
    explicit Octree(int leafLevel)
        : leafLevel_(std::clamp(leafLevel, 0, kDeepestLeafLevel)),
          map_(std::min(leafLevel_, kMapLevels)) {
        const int levels = map_.Levels();
        for (std::uint32_t v = 0; v < 256; ++v) {
            const std::uint32_t top = v >> (8 - levels);
            redCell_[v] = top << (2 * levels);
            greenCell_[v] = top << levels;
            blueCell_[v] = top;
        }
    }
    ~Octree() { FreeTree(root_); }
    Octree(const Octree&) = delete;
    Octree& operator=(const Octree&) = delete;

    // `bank` is any number; pixels next to each other should differ in it.
    void AddPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::size_t bank) {
        if (Node* leaf = map_.Find(redCell_[red] | greenCell_[green] | blueCell_[blue])) {
            leaf->banks[bank % kSumBanks].Add(red, green, blue);
            return;
        }
        AddUnmappedPixel(red, green, blue);
    }
    std::vector<PaletteEntry> Palette() const;

private:
    Node* NewNode(int level, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void AddColor(Node*& slot, std::uint8_t red, std::uint8_t green, std::uint8_t blue, int level);
    void ReduceTree();
    void FillPalette(const Node* node, std::vector<PaletteEntry>& entries,
                     std::size_t& index) const;
    void FreeTree(Node*& slot);
    [[gnu::noinline]] void AddUnmappedPixel(std::uint8_t red, std::uint8_t green,
                                            std::uint8_t blue);
    void BecameLeaf(Node* node, int level);

    const int leafLevel_;
    Node* root_ = nullptr;
    int leafCount_ = 0;
    std::array<Node*, kDeepestLeafLevel + 1> reducible_{};
    NodePool pool_;
    LeafMap map_;
    // Each component's share of the map's cell number, looked up rather than shifted.
    std::array<std::uint32_t, 256> redCell_{}, greenCell_{}, blueCell_{};
};

void Octree::BecameLeaf(Node* node, int level) {
    if (level <= map_.Levels())
        map_.Cover(node, level);
}

Node* Octree::NewNode(int level, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    Node* node = pool_.Take();
    node->leaf = level == leafLevel_;
    node->red = red;
    node->green = green;
    node->blue = blue;
    if (node->leaf) {
        ++leafCount_;
        BecameLeaf(node, level);
    } else {
        node->nextReducible = reducible_[level];
        reducible_[level] = node;
    }
    return node;
}

// Walks down from `slot`, creating the nodes the colour's path lacks, and
// adds the colour to the leaf it ends in.
void Octree::AddColor(Node*& slot, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                      int level) {
    Node** at = &slot;
    for (;; ++level) {
        if (!*at)
            *at = NewNode(level, red, green, blue);
        Node* node = *at;
        if (node->leaf) {
            node->banks[0].Add(red, green, blue);
            return;
        }
        const std::uint8_t mask = kLevelMask[level];
        const int shift = 7 - level;
        const int child =
            ((red & mask) >> shift) * 4 + ((green & mask) >> shift) * 2 + ((blue & mask) >> shift);
        at = &node->children[child];
    }
}

void Octree::ReduceTree() {
    int level = leafLevel_ - 1;
    while (level > 0 && !reducible_[level])
        --level;
    level = std::max(level, 0);
    Node* node = reducible_[level];
    if (!node)
        return;
    reducible_[level] = node->nextReducible;
    Sums merged;
    int children = 0;
    for (int i = 7; i >= 0; --i) {
        Node*& child = node->children[i];
        if (!child)
            continue;
        merged.Add(child->Total());
        FreeTree(child);
        ++children;
    }
    node->leaf = true;
    node->banks = {merged};
    leafCount_ -= children - 1;
    BecameLeaf(node, level);
}

void Octree::FillPalette(const Node* node, std::vector<PaletteEntry>& entries,
                         std::size_t& index) const {
    if (node->leaf) {
        const Sums total = node->Total();
        if (index < entries.size() && total.pixelCount > 0) {
            entries[index] = {static_cast<std::uint8_t>(total.red / total.pixelCount),
                              static_cast<std::uint8_t>(total.green / total.pixelCount),
                              static_cast<std::uint8_t>(total.blue / total.pixelCount)};
        }
        ++index;
        return;
    }
    for (const Node* child : node->children)
        if (child)
            FillPalette(child, entries, index);
}

void Octree::FreeTree(Node*& slot) {
    if (!slot)
        return;
    for (Node*& child : slot->children)
        FreeTree(child);
    pool_.Give(slot);
    slot = nullptr;
}

void Octree::AddUnmappedPixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    AddColor(root_, red, green, blue, 0);
    while (leafCount_ > kMaxLeaves)
        ReduceTree();
}

std::vector<PaletteEntry> Octree::Palette() const {
    std::vector<PaletteEntry> entries(static_cast<std::size_t>(leafCount_));
    std::size_t index = 0;
    if (root_)
        FillPalette(root_, entries, index);
    return entries;
}

} // namespace

std::optional<std::vector<PaletteEntry>>
OctreePaletteEntries(const DibHeader& header, std::span<const std::uint8_t> pixels, int leafLevel,
                     const std::optional<PixelMasks>& masks) {
    if (leafLevel > kDeepestLeafLevel)
        return std::nullopt;
    Octree tree(leafLevel);
    const bool walked = ForEachFullColourPixel(
        header, pixels,
        [&](std::int32_t x, std::int32_t, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
            tree.AddPixel(red, green, blue, static_cast<std::size_t>(x));
        },
        masks);
    if (!walked)
        return std::nullopt;
    return tree.Palette();
}

} // namespace pelmira
