// The packed form of a display record's vertices.
#include <algorithm>
#include <cstring>

#include "dxf/model.h"

namespace kerbon::model {

namespace {

// Whether a and b agree in every field besides x and y. Reals are compared bit for bit, so
// a run never merges -0 with 0, and a NaN stays the NaN it was.
bool sameRest(const Tmypoi& a, const Tmypoi& b)
{
    // z, bulge, wid, linex, liney and linez lie one after the other.
    static_assert(offsetof(Tmypoi, linez) + sizeof(int) - offsetof(Tmypoi, z) == 36);
    return std::memcmp(&a.z, &b.z, 36) == 0 && a.botharrows == b.botharrows &&
           a.mode == b.mode && a.setwid == b.setwid &&
           a.doadddimtexthere == b.doadddimtexthere && a.moveonly == b.moveonly &&
           a.donotdraw == b.donotdraw;
}

// Vectors a parse built vertices in, kept for the next records of this thread with their
// capacity (a parse builds one record after the other); large ones are let go.
using OpenVector = std::unique_ptr<std::vector<Tmypoi>>;
thread_local std::vector<OpenVector> spareVectors;

OpenVector takeVector()
{
    if (spareVectors.empty())
        return std::make_unique<std::vector<Tmypoi>>();
    OpenVector v = std::move(spareVectors.back());
    spareVectors.pop_back();
    return v;
}

void giveBack(OpenVector v)
{
    if (v && spareVectors.size() < 4 && v->capacity() <= 4096) {
        v->clear();
        spareVectors.push_back(std::move(v));
    }
}

}  // namespace

VertexList& VertexList::operator=(const VertexList& o)
{
    if (this != &o) {
        open_ = o.copyOpen();
        packed_ = o.copyPacked();
    }
    return *this;
}

VertexList& VertexList::operator=(std::vector<Tmypoi> v)
{
    open_ = std::make_unique<std::vector<Tmypoi>>(std::move(v));
    packed_.reset();
    return *this;
}

std::unique_ptr<std::vector<Tmypoi>> VertexList::copyOpen() const
{
    return open_ ? std::make_unique<std::vector<Tmypoi>>(*open_) : nullptr;
}

std::unique_ptr<std::byte[]> VertexList::copyPacked() const
{
    if (!packed_)
        return nullptr;
    const size_t bytes = packedBytes(head().count, head().runs);
    std::unique_ptr<std::byte[]> copy(new std::byte[bytes]);
    std::memcpy(copy.get(), packed_.get(), bytes);
    return copy;
}

Tmypoi VertexList::operator[](size_t i) const
{
    if (!packed_)
        return (*open_)[i];
    const Run* r = runs();
    const Run* after = std::upper_bound(r, r + head().runs, i,
                                        [](size_t k, const Run& run) { return k < run.first; });
    return at(i, size_t(after - r) - 1);
}

bool VertexList::operator==(const VertexList& o) const
{
    if (size() != o.size())
        return false;
    return std::equal(begin(), end(), o.begin());
}

std::vector<Tmypoi>& VertexList::edit()
{
    if (!open_) {
        open_ = takeVector();
        if (packed_) {
            open_->reserve(size());
            for (const Tmypoi& v : *this)
                open_->push_back(v);
            packed_.reset();
        }
    }
    return *open_;
}

void VertexList::pack()
{
    if (packed_ || !open_)
        return;
    if (open_->empty()) {
        giveBack(std::move(open_));
        return;
    }
    const std::vector<Tmypoi>& v = *open_;
    // Where runs start, found once: the storage is laid out by their number.
    thread_local std::vector<uint32_t> starts;
    starts.assign(1, 0);
    for (size_t i = 1; i < v.size(); ++i)
        if (!sameRest(v[i - 1], v[i]))
            starts.push_back(uint32_t(i));
    Head h;
    h.count = uint32_t(v.size());
    h.runs = uint32_t(starts.size());
    static_assert(sizeof(Head) % alignof(Run) == 0 && sizeof(Run) % alignof(XY) == 0);
    packed_.reset(new std::byte[packedBytes(h.count, h.runs)]);
    std::memcpy(packed_.get(), &h, sizeof h);
    Run* r = reinterpret_cast<Run*>(packed_.get() + sizeof h);
    for (const uint32_t first : starts) {
        std::memcpy(r->rest, reinterpret_cast<const unsigned char*>(&v[first]) + kRestAt,
                    sizeof r->rest);
        r->first = first;
        r->pad = 0;
        ++r;
    }
    XY* xy = reinterpret_cast<XY*>(r);
    for (size_t i = 0; i < v.size(); ++i)
        xy[i] = {v[i].x, v[i].y};
    giveBack(std::move(open_));
}

}  // namespace kerbon::model
