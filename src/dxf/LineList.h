// The compact list of text lines behind the document: the text of every line lies in an
// arena of blocks that never move, and the list holds one 8-byte reference per line.
// A drawing of five million mostly short lines takes about a third of what a list of
// strings takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kerbon {

// Lines are read as views. A view of a line stays valid until that line is replaced or
// until lines are inserted or erased (which may move text); replacing another line leaves
// it alone. Text that a replacement or erasure leaves behind is reclaimed at the next
// insertion or erasure once it outweighs the text in use.
class LineList {
public:
    // A random-access iterator over the lines, yielding views.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const LineList* list, size_t i) : list_(list), i_(i) {}
        std::string_view operator*() const { return (*list_)[i_]; }
        std::string_view operator[](difference_type n) const { return (*list_)[i_ + size_t(n)]; }
        const_iterator& operator++() { ++i_; return *this; }
        const_iterator operator++(int) { const_iterator t = *this; ++i_; return t; }
        const_iterator& operator--() { --i_; return *this; }
        const_iterator operator--(int) { const_iterator t = *this; --i_; return t; }
        const_iterator& operator+=(difference_type n) { i_ += size_t(n); return *this; }
        const_iterator& operator-=(difference_type n) { i_ -= size_t(n); return *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b)
        {
            return difference_type(a.i_) - difference_type(b.i_);
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.i_ == b.i_; }
        friend auto operator<=>(const_iterator a, const_iterator b) { return a.i_ <=> b.i_; }
        size_t index() const { return i_; }

    private:
        const LineList* list_ = nullptr;
        size_t i_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;
    using size_type = size_t;

    LineList() = default;
    LineList(std::initializer_list<std::string_view> lines);
    explicit LineList(const std::vector<std::string>& lines);
    template <class It>
    LineList(It first, It last)
    {
        append(first, last);
    }
    // A copy holds only the text in use, in one block.
    LineList(const LineList& other);
    LineList& operator=(const LineList& other);
    LineList& operator=(const std::vector<std::string>& lines) { return *this = LineList(lines); }
    LineList& operator=(std::initializer_list<std::string_view> lines)
    {
        return *this = LineList(lines);
    }
    LineList(LineList&& other) noexcept = default;
    LineList& operator=(LineList&& other) noexcept = default;
    ~LineList();

    size_t size() const { return refs_.size(); }
    bool empty() const { return refs_.empty(); }
    std::string_view operator[](size_t i) const
    {
        const uint64_t r = refs_[i];
        size_t len = size_t(r & kLenMask);
        if (len == 0)
            return {};
        const uint64_t off = r >> kLenBits;
        const char* p = slots_[size_t(off >> kSlotBits)] + (off & kSlotMask);
        if (len == kLenMask) {  // a long line: its length stands in front of its text
            uint64_t n;
            std::memcpy(&n, p, sizeof n);
            return {p + sizeof n, size_t(n)};
        }
        return {p, len};
    }
    std::string_view front() const { return (*this)[0]; }
    std::string_view back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Room for `lines` lines holding `textBytes` bytes of text in all, so that appending
    // them allocates nothing more.
    void reserve(size_t lines, size_t textBytes);
    void push_back(std::string_view line);
    void insert(size_t pos, std::string_view line);
    // Inserts the lines of [first, last) (anything that converts to std::string_view)
    // before line `pos`. The lines may be views of this list.
    template <class It>
    void insert(size_t pos, It first, It last)
    {
        std::vector<uint64_t> added;
        if constexpr (std::forward_iterator<It>)
            added.reserve(size_t(std::distance(first, last)));
        for (; first != last; ++first)
            added.push_back(store(std::string_view(*first)));
        insertRefs(pos, added);
    }
    void insert(size_t pos, std::initializer_list<std::string_view> lines)
    {
        insert(pos, lines.begin(), lines.end());
    }
    void insert(size_t pos, const LineList& other) { insert(pos, other.begin(), other.end()); }
    void erase(size_t pos, size_t count = 1);
    // The new text may be a view of any line of this list, this line's own included.
    void replace(size_t i, std::string_view line);
    void clear();
    // Moves the text in use into one fresh block when the text left behind outweighs it.
    // Views may become invalid as with insert and erase; insert and erase do this
    // themselves, so it is for a series of replacements.
    void reclaim();

    // The lines as strings.
    std::vector<std::string> strings() const;
    // Bytes of line text in use, and bytes left behind by replacements and erasures.
    size_t textBytes() const { return size_t(live_); }
    size_t wastedBytes() const { return size_t(garbage_); }

    friend bool operator==(const LineList& a, const LineList& b);
    friend bool operator==(const LineList& a, const std::vector<std::string>& b);

private:
    // A reference: the text's offset in the arena (upper 40 bits) and its length (lower 24
    // bits). A length of kLenMask marks a long line whose 8-byte length precedes its text.
    static constexpr unsigned kLenBits = 24;
    static constexpr uint64_t kLenMask = (uint64_t(1) << kLenBits) - 1;
    static constexpr uint64_t kMaxOffset = (uint64_t(1) << (64 - kLenBits)) - 1;
    // The arena's offsets are cut into slots of 1 MiB; each slot names the address its
    // offsets start at. A block larger than a slot takes several consecutive slots.
    static constexpr unsigned kSlotBits = 20;
    static constexpr uint64_t kSlotSize = uint64_t(1) << kSlotBits;
    static constexpr uint64_t kSlotMask = kSlotSize - 1;

    // Appends the lines of [first, last), all text in one block where the range can be
    // walked twice.
    template <class It>
    void append(It first, It last)
    {
        if constexpr (std::forward_iterator<It>) {
            size_t lines = 0, text = 0;
            for (It i = first; i != last; ++i, ++lines)
                text += std::string_view(*i).size();
            reserve(lines, text);
        }
        for (; first != last; ++first)
            push_back(std::string_view(*first));
    }

    // Copies the text into the arena and returns its reference.
    uint64_t store(std::string_view line);
    // Starts a block of at least `bytes` bytes; returns its first offset.
    uint64_t newBlock(size_t bytes);
    void insertRefs(size_t pos, const std::vector<uint64_t>& added);
    // Room for `extra` more references.
    void growRefs(size_t extra);
    void dropText(size_t i);

    std::vector<uint64_t> refs_;
    std::vector<char*> slots_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    uint64_t next_ = 0, blockEnd_ = 0;  // free room of the block being filled
    size_t lastBlock_ = 0;              // size of the last block made for small lines
    uint64_t live_ = 0, garbage_ = 0;
};

}  // namespace kerbon
