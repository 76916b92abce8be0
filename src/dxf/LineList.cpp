// The line list's arena: blocks of text that never move, reached through a table of
// slots, and the references into it.
#include "dxf/LineList.h"

#include <algorithm>
#include <stdexcept>

namespace kerbon {

LineList::LineList(std::initializer_list<std::string_view> lines)
{
    append(lines.begin(), lines.end());
}

LineList::LineList(const std::vector<std::string>& lines)
{
    append(lines.begin(), lines.end());
}

LineList::LineList(const LineList& other)
{
    size_t text = other.live_;
    for (const uint64_t r : other.refs_)  // a long line needs room for its length as well
        text += (r & kLenMask) == kLenMask ? sizeof(uint64_t) : 0;
    reserve(other.size(), text);
    for (std::string_view l : other)
        push_back(l);
}

LineList& LineList::operator=(const LineList& other)
{
    if (this != &other) {
        LineList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

LineList::~LineList() = default;

uint64_t LineList::newBlock(size_t bytes)
{
    const uint64_t slots = std::max<uint64_t>(1, (uint64_t(bytes) + kSlotMask) >> kSlotBits);
    const uint64_t first = uint64_t(slots_.size()) << kSlotBits;
    if (slots > (kMaxOffset >> kSlotBits) + 1 - slots_.size())
        throw std::length_error("line list: more text than the references can reach");
    blocks_.push_back(std::unique_ptr<char[]>(new char[bytes]));
    char* base = blocks_.back().get();
    for (uint64_t k = 0; k < slots; ++k)
        slots_.push_back(base + (k << kSlotBits));
    return first;
}

uint64_t LineList::store(std::string_view line)
{
    const size_t len = line.size();
    if (len == 0)
        return 0;
    const bool isLong = len >= kLenMask;
    const size_t need = len + (isLong ? sizeof(uint64_t) : 0);
    uint64_t off;
    if (blockEnd_ - next_ >= need) {
        off = next_;
        next_ += need;
    } else if (need > kSlotSize / 8) {
        off = newBlock(need);  // a block of its own; the block being filled stays open
    } else {
        // Blocks for short lines grow from 4 KiB to one slot, so that a small list stays
        // small and a large one needs few blocks.
        lastBlock_ = std::max(need, std::clamp<size_t>(lastBlock_ * 2, 4096, kSlotSize));
        off = newBlock(lastBlock_);
        next_ = off + need;
        blockEnd_ = off + lastBlock_;
    }
    // `line` may be a view of this list: the text already stored does not move.
    char* p = slots_[size_t(off >> kSlotBits)] + (off & kSlotMask);
    if (isLong) {
        const uint64_t n = len;
        std::memcpy(p, &n, sizeof n);
        p += sizeof n;
    }
    std::memcpy(p, line.data(), len);
    live_ += len;
    return (off << kLenBits) | (isLong ? kLenMask : uint64_t(len));
}

void LineList::reserve(size_t lines, size_t textBytes)
{
    refs_.reserve(refs_.size() + lines);
    if (textBytes > blockEnd_ - next_) {
        next_ = newBlock(textBytes);
        blockEnd_ = next_ + textBytes;
    }
}

void LineList::growRefs(size_t extra)
{
    // The list grows by a quarter when full rather than doubling: for a document of
    // millions of lines the references are most of the memory it takes.
    if (refs_.size() + extra > refs_.capacity())
        refs_.reserve(std::max(refs_.size() + extra, refs_.size() + refs_.size() / 4 + 16));
}

void LineList::push_back(std::string_view line)
{
    const uint64_t ref = store(line);
    growRefs(1);
    refs_.push_back(ref);
}

void LineList::insert(size_t pos, std::string_view line)
{
    insertRefs(pos, {store(line)});
}

void LineList::insertRefs(size_t pos, const std::vector<uint64_t>& added)
{
    growRefs(added.size());
    refs_.insert(refs_.begin() + std::ptrdiff_t(pos), added.begin(), added.end());
    reclaim();
}

void LineList::dropText(size_t i)
{
    const size_t len = (*this)[i].size();
    live_ -= len;
    garbage_ += len;
}

void LineList::erase(size_t pos, size_t count)
{
    for (size_t i = pos; i < pos + count; ++i)
        dropText(i);
    refs_.erase(refs_.begin() + std::ptrdiff_t(pos), refs_.begin() + std::ptrdiff_t(pos + count));
    reclaim();
}

void LineList::replace(size_t i, std::string_view line)
{
    // The new text goes in first: it may be a view of the old.
    const uint64_t ref = store(line);
    dropText(i);
    refs_[i] = ref;
}

void LineList::clear()
{
    *this = LineList();
}

void LineList::reclaim()
{
    if (garbage_ > live_) {
        LineList compact(*this);
        *this = std::move(compact);
    }
}

std::vector<std::string> LineList::strings() const
{
    std::vector<std::string> out;
    out.reserve(size());
    for (std::string_view l : *this)
        out.emplace_back(l);
    return out;
}

bool operator==(const LineList& a, const LineList& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool operator==(const LineList& a, const std::vector<std::string>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace kerbon
