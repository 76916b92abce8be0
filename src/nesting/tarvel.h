// The growable record array with a cursor (TDynaArray), and the length-prefixed UTF-16
// string routines that make up the translation file, with the UTF-8/UTF-16 conversions
// used at that file boundary.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>

namespace kerbon {

// Text of the allocation failure message: kind 1 = first block, 2 = growing, 3 = shrinking.
std::string allocFailureText(int kind, std::size_t bytes);

// Called with the message text when a record block cannot be obtained. The window side
// installs one that shows an error box; without one the failure is silent. The array stays
// consistent either way (the operation that needed the block changes nothing).
void setAllocFailureHandler(std::function<void(const std::string&)> handler);
void reportAllocFailure(int kind, std::size_t bytes);

// A growable array of records with a cursor. Records lie in one block that grows and
// shrinks in steps of `buffersize` (100) records; every record of the block is a
// value-initialised T (all zero for plain records) until it is written. The cursor is the
// current record (`aobj`, index `aobjnr`, -1 for none); when the owner passes the address
// of its own current-record pointer, every cursor move is mirrored there.
//
// Record addresses stay valid until the next Add, Insert, Delete or Clear (the block may
// move). Records are moved, never copied bytewise, so T may own strings or vectors;
// removed records are destroyed (their owned memory is released).
template <class T>
class TDynaArray {
public:
    static constexpr std::uint32_t buffersize = 100;  // growth quantum in records
    static constexpr std::uint32_t size = sizeof(T);  // bytes of one record

    explicit TDynaArray(T** typpoi = nullptr) : outeraobj(typpoi) {}
    TDynaArray(const TDynaArray&) = delete;
    TDynaArray& operator=(const TDynaArray&) = delete;
    ~TDynaArray() = default;  // the owner's variable is not touched

    std::uint32_t count() const { return count_; }
    std::int32_t aobjnr() const { return aobjnr_; }
    T* aobj() const { return aobj_; }
    T* poi() const { return poi_.get(); }
    std::size_t amemsize() const { return amemsize_; }
    std::size_t capacity() const { return amemsize_ / size; }

    // Makes record Index current and returns it. Index must lie in 0 ... count-1; any
    // other index returns null and leaves the cursor where it was.
    T* GetObject(std::int64_t Index)
    {
        if (Index < 0 || Index >= std::int64_t(count_)) {
            assert(!"TDynaArray::GetObject: index out of range");
            return nullptr;
        }
        aobjnr_ = std::int32_t(Index);
        aobj_ = poi_.get() + Index;
        if (outeraobj)
            *outeraobj = aobj_;
        return aobj_;
    }

    // Reads record i without moving the cursor (i must lie in 0 ... count-1).
    const T& recordAt(std::uint32_t i) const
    {
        assert(i < count_);
        return poi_[i];
    }

    // Appends a fresh record and makes it current; null when no block could be had.
    T* Add()
    {
        if (count_ >= INT32_MAX || !AllocMoreMem(count_ + 1))
            return nullptr;
        ++count_;
        poi_[count_ - 1] = T{};
        return GetObject(count_ - 1);
    }

    // Appends n fresh records at once (one block change instead of one per hundred) and
    // makes the last of them current; returns the first, or null (nothing changed) when no
    // block could be had. Loaders use it so that a long file costs linear time.
    T* AddMany(std::uint32_t n)
    {
        if (n == 0 || std::uint64_t(count_) + n > INT32_MAX || !AllocMoreMem(count_ + n))
            return nullptr;
        const std::uint32_t first = count_;
        count_ += n;
        for (std::uint32_t i = first; i < count_; ++i)
            poi_[i] = T{};
        GetObject(count_ - 1);
        return poi_.get() + first;
    }

    // Inserts a fresh record at nr (0 ... count; count appends) and makes it current.
    // Any other nr returns null and changes nothing.
    T* Insert(std::int64_t nr)
    {
        if (nr < 0 || nr > std::int64_t(count_))
            return nullptr;
        if (count_ >= INT32_MAX || !AllocMoreMem(count_ + 1))
            return nullptr;
        ++count_;
        for (std::int64_t i = std::int64_t(count_) - 1; i > nr; --i)
            poi_[i] = std::move(poi_[i - 1]);
        poi_[nr] = T{};
        return GetObject(nr);
    }

    // Removes record nr (0 ... count-1; any other nr does nothing) and resets the cursor.
    void Delete(std::int64_t nr)
    {
        if (nr < 0 || nr >= std::int64_t(count_))
            return;
        for (std::uint32_t i = std::uint32_t(nr); i + 1 < count_; ++i)
            poi_[i] = std::move(poi_[i + 1]);
        poi_[count_ - 1] = T{};  // the vacated slot reads as a fresh record again
        --count_;
        AllocLessMem();
        resetCursor();
    }

    // Swaps records nr1 and nr2 when both are valid; the cursor ends on nr2.
    void Change(std::int64_t nr1, std::int64_t nr2)
    {
        if (nr1 < 0 || nr1 >= std::int64_t(count_) || nr2 < 0 || nr2 >= std::int64_t(count_))
            return;
        using std::swap;
        if (nr1 != nr2)
            swap(poi_[nr1], poi_[nr2]);
        GetObject(nr2);
    }

    void Clear()
    {
        count_ = 0;
        poi_.reset();
        amemsize_ = 0;
        resetCursor();
    }

    // Cursor on record 0 when there is one.
    void First()
    {
        if (count_ > 0)
            GetObject(0);
    }

    // Moves the cursor one record on; from the reset state (-1) it reaches record 0.
    bool Next()
    {
        if (count_ == 0 || aobjnr_ >= std::int64_t(count_) - 1 || aobjnr_ < -1)
            return false;
        GetObject(aobjnr_ + 1);
        return true;
    }

    // The loop step after First: makes record aobjnr current, then leaves aobjnr one past
    // it. Inside `First(); while (WhileNext()) ...` the record visited is aobjnr - 1.
    bool WhileNext()
    {
        if (count_ == 0 || aobjnr_ < 0 || aobjnr_ > std::int64_t(count_) - 1)
            return false;
        GetObject(aobjnr_);
        ++aobjnr_;
        return true;
    }

private:
    T** outeraobj = nullptr;  // the owner's current-record variable, may be null
    T* aobj_ = nullptr;
    std::unique_ptr<T[]> poi_;
    std::uint32_t count_ = 0;
    std::int32_t aobjnr_ = -1;
    std::size_t amemsize_ = 0;

    // Room for the next whole multiple of 100 records; 0 for no records.
    static std::size_t blockRecords(std::uint64_t n)
    {
        return n == 0 ? 0 : std::size_t(buffersize * ((n - 1) / buffersize + 1));
    }

    void resetCursor()
    {
        aobjnr_ = -1;
        aobj_ = nullptr;
        if (outeraobj)
            *outeraobj = nullptr;
    }

    // Makes room for newcount records. False (nothing changed) when no block could be had.
    bool AllocMoreMem(std::uint64_t newcount)
    {
        const std::size_t recs = blockRecords(newcount);
        if (recs * size == amemsize_)
            return true;
        const bool fresh = !poi_;
        std::unique_ptr<T[]> block = takeBlock(recs, fresh ? 1 : 2);
        if (!block)
            return false;
        for (std::uint32_t i = 0; i < count_; ++i)
            block[i] = std::move(poi_[i]);
        poi_ = std::move(block);
        amemsize_ = recs * size;
        return true;
    }

    // Gives back the block's spare hundreds after count dropped. When no smaller block can
    // be had the larger one is kept; that is harmless.
    void AllocLessMem()
    {
        const std::size_t recs = blockRecords(count_);
        if (recs * size == amemsize_)
            return;
        if (recs == 0) {
            poi_.reset();
            amemsize_ = 0;
            return;
        }
        std::unique_ptr<T[]> block = takeBlock(recs, 3);
        if (!block)
            return;
        for (std::uint32_t i = 0; i < count_; ++i)
            block[i] = std::move(poi_[i]);
        poi_ = std::move(block);
        amemsize_ = recs * size;
    }

    static std::unique_ptr<T[]> takeBlock(std::size_t recs, int kind)
    {
        if (recs > SIZE_MAX / size) {
            reportAllocFailure(kind, SIZE_MAX);
            return nullptr;
        }
        try {
            return std::unique_ptr<T[]>(new T[recs]());
        } catch (const std::bad_alloc&) {
            reportAllocFailure(kind, recs * size);
            return nullptr;
        }
    }
};

// UTF-8 <-> UTF-16. Invalid UTF-8 bytes and unpaired surrogates become U+FFFD.
std::u16string utf8ToUtf16(std::string_view s);
std::string utf16ToUtf8(std::u16string_view s);

// A signed 32-bit little-endian count of UTF-16 code units, then the code units,
// little-endian, no terminator. Returns false when the stream failed.
bool WriteWideString(std::ostream& file, std::u16string_view text);
bool WriteWideString(std::ostream& file, std::string_view utf8text);
// Reads one such string. nullopt when the stream ends before the string does or the count
// is negative; memory grows with the bytes actually read, never with the count alone.
std::optional<std::u16string> ReadWideString(std::istream& file);
std::optional<std::string> ReadWideStringUtf8(std::istream& file);

}  // namespace kerbon
