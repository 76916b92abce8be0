// The common frame of new entities, their handles and the insertion into the document.
#include "edit/EntityText.h"

#include <cmath>
#include <limits>

#include "dxf/LineStore.h"

namespace kerbon {

std::string newObjectLayer(const model::DisplayModel& m)
{
    if (m.anzlayer > 0 && !m.layers[0].name.empty())
        return m.layers[0].name;
    return "0";
}

EditSet InsertCode(const model::DisplayModel& m, int pos, std::vector<std::string> str,
                   int32_t lasthandle)
{
    EditSet set;
    set.insert(pos, std::move(str));
    if (m.handleseedpos != -1)
        set.replace(m.handleseedpos, handleText(lasthandle + 1));
    return set;
}

EntityText::EntityText(const WriteContext& ctx) : ctx(ctx), last(ctx.m.maxhandle) {}

void EntityText::handle()
{
    // Handles are 32-bit; the seed must still name the handle after the last one.
    if (last >= std::numeric_limits<int32_t>::max() - 1) {
        handlesLeft = false;
        return;
    }
    ++last;
    handles.push_back(int32_t(last));
    add("  5", handleText(int32_t(last)));
}

void EntityText::begin(const char* name, const char* subclass)
{
    add("  0", name);
    handle();
    if (ctx.place.hasOwner)
        add("330", handleText(ctx.place.owner));
    if (!r12())
        add("100", "AcDbEntity");
    if (ctx.place.paperspace)
        add(" 67", "1");
    add("  8", ctx.layer);
    if (!r12() && *subclass)
        add("100", subclass);
}

void EntityText::beginMember(const char* name)
{
    add("  0", name);
    handle();
    add("  8", ctx.layer);
}

void EntityText::add(const char* code, std::string value)
{
    lines.emplace_back(code);
    lines.push_back(std::move(value));
}

void EntityText::real(const char* code, double v)
{
    if (!std::isfinite(v))
        finite = false;
    add(code, floattodxf(v));
}

void EntityText::point(const char* cx, const char* cy, const char* cz, double x, double y,
                       double z)
{
    real(cx, x);
    real(cy, y);
    real(cz, z);
}

Written EntityText::finish()
{
    Written w;
    if (ctx.place.insertlinepos < 0)
        w.status = WriteStatus::NoPlace;
    else if (!finite)
        w.status = WriteStatus::NotFinite;
    else if (!handlesLeft)
        w.status = WriteStatus::NoHandles;
    if (w.status != WriteStatus::Ok)
        return w;
    w.edits = InsertCode(ctx.m, ctx.place.insertlinepos, std::move(lines), int32_t(last));
    w.handles = std::move(handles);
    return w;
}

}  // namespace kerbon
