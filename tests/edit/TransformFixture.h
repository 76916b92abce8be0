// Drawings with every kind of entity the parser reads, R2000 and R12, for the tests of
// the transforms: the templates with a block "Teil" (an attribute definition) and the
// entities below.
#pragma once

#include <string>
#include <vector>

#include "edit/EditorFixture.h"

namespace kerbon::test {

// R2000 model space: every kind, with a text, an arc, a polyline and a 2D polyline seen
// from below (extrusion 0 0 -1), a justified text, attributes, hatch edges of every kind
// and a pattern.
inline const char* const kEntities2000 =
    "0|LINE|5|100|330|1F|100|AcDbEntity|8|0|100|AcDbLine|10|1|20|2|30|0|11|5|21|3|31|0|"
    "0|XLINE|5|101|330|1F|100|AcDbEntity|8|0|100|AcDbXline|10|2|20|1|30|0|11|0.6|21|0.8|31|0|"
    "0|RAY|5|102|330|1F|100|AcDbEntity|8|0|100|AcDbRay|10|3|20|1|30|0|11|0|21|1|31|0|"
    "0|LWPOLYLINE|5|103|330|1F|100|AcDbEntity|8|0|100|AcDbPolyline|90|3|70|1|43|0.5|"
    "10|10|20|10|42|0.5|10|20|20|10|10|20|20|15|"
    "0|LWPOLYLINE|5|104|330|1F|100|AcDbEntity|8|0|100|AcDbPolyline|90|2|70|0|"
    "10|-10|20|20|40|0.2|41|0.4|42|-0.3|10|-14|20|22|210|0|220|0|230|-1|"
    "0|ARC|5|105|330|1F|100|AcDbEntity|8|0|100|AcDbCircle|10|30|20|5|30|0|40|4|"
    "100|AcDbArc|50|10|51|100|"
    "0|ARC|5|106|330|1F|100|AcDbEntity|8|0|100|AcDbCircle|10|-30|20|5|30|0|40|3|"
    "210|0|220|0|230|-1|100|AcDbArc|50|20|51|80|"
    "0|CIRCLE|5|107|330|1F|100|AcDbEntity|8|0|100|AcDbCircle|10|40|20|40|30|0|40|2.5|"
    "0|ELLIPSE|5|108|330|1F|100|AcDbEntity|8|0|100|AcDbEllipse|10|50|20|10|30|0|11|6|21|2|"
    "31|0|40|0.4|41|0.3|42|4|"
    "0|TEXT|5|109|330|1F|100|AcDbEntity|8|0|100|AcDbText|10|60|20|10|30|0|40|2|1|Hallo|72|1|"
    "11|62|21|11|31|0|100|AcDbText|73|0|"
    "0|TEXT|5|10A|330|1F|100|AcDbEntity|8|0|100|AcDbText|10|-230|20|5|30|0|40|1|1|unten|50|20|"
    "210|0|220|0|230|-1|100|AcDbText|"
    "0|MTEXT|5|10B|330|1F|100|AcDbEntity|8|0|100|AcDbMText|10|70|20|10|30|0|40|2.5|41|20|71|1|"
    "72|1|1|Absatz|50|30|"
    "0|MTEXT|5|10C|330|1F|100|AcDbEntity|8|0|100|AcDbMText|10|72|20|16|30|0|40|1|71|1|1|Zwei|"
    "0|INSERT|5|10D|330|1F|100|AcDbEntity|8|0|100|AcDbBlockReference|66|1|2|Teil|10|80|20|10|"
    "30|0|41|2|42|2|43|1|50|15|"
    "0|ATTRIB|5|10E|330|10D|100|AcDbEntity|8|0|100|AcDbText|10|81|20|11|30|0|40|1|1|Wert|50|15|"
    "100|AcDbAttribute|2|TAG|70|0|"
    "0|SEQEND|5|10F|330|10D|100|AcDbEntity|8|0|"
    "0|INSERT|5|110|330|1F|100|AcDbEntity|8|0|100|AcDbBlockReference|2|Teil|10|85|20|-5|30|0|"
    "41|1.5|42|0.5|50|20|70|3|71|2|44|4|45|3|"
    "0|SOLID|5|111|330|1F|100|AcDbEntity|8|0|100|AcDbTrace|10|90|20|0|30|0|11|96|21|0|31|0|"
    "12|90|22|4|32|0|13|96|23|5|33|0|"
    "0|POINT|5|112|330|1F|100|AcDbEntity|8|0|100|AcDbPoint|10|100|20|0|30|0|"
    "0|DIMENSION|5|113|330|1F|100|AcDbEntity|8|0|100|AcDbDimension|2|*D1|10|120|20|10|30|0|"
    "11|115|21|10|31|0|70|33|3|Standard|100|AcDbAlignedDimension|13|110|23|0|33|0|"
    "14|120|24|0|34|0|"
    "0|DIMENSION|5|114|330|1F|100|AcDbEntity|8|0|100|AcDbDimension|2|*D2|10|112|20|24|30|0|"
    "11|128|21|22|31|0|70|34|3|Standard|100|AcDb2LineAngularDimension|13|110|23|20|33|0|"
    "14|108|24|26|34|0|15|100|25|20|35|0|16|118|26|26|36|0|"
    "0|HATCH|5|115|330|1F|100|AcDbEntity|8|0|100|AcDbHatch|10|0|20|0|30|0|210|0|220|0|230|1|"
    "2|ANSI31|70|0|71|0|91|2|"
    "92|3|72|1|73|1|93|3|10|130|20|0|42|0.5|10|140|20|0|42|0|10|140|20|8|42|0|97|0|"
    "92|1|93|3|72|1|10|150|20|0|11|160|21|0|72|2|10|160|20|5|40|5|50|270|51|90|73|1|"
    "72|3|10|155|20|10|11|5|21|0|40|0.5|50|0|51|180|73|1|97|0|"
    "75|1|76|1|52|0|41|1|77|0|78|1|53|45|43|0|44|0|45|-0.7|46|0.7|79|0|98|1|10|135|20|3|"
    "0|SPLINE|5|116|330|1F|100|AcDbEntity|8|0|100|AcDbSpline|210|0|220|0|230|1|70|8|71|3|"
    "72|8|73|4|74|0|42|1e-10|43|1e-10|40|0|40|0|40|0|40|0|40|1|40|1|40|1|40|1|"
    "10|170|20|0|30|0|10|172|20|5|30|0|10|176|20|5|30|0|10|178|20|0|30|0|"
    "0|SPLINE|5|117|330|1F|100|AcDbEntity|8|0|100|AcDbSpline|210|0|220|0|230|1|70|8|71|3|"
    "72|8|73|4|74|3|42|1e-10|43|1e-10|44|1e-10|12|1|22|0|32|0|13|0|23|-1|33|0|"
    "40|0|40|0|40|0|40|0|40|1|40|1|40|1|40|1|"
    "10|180|20|0|30|0|10|182|20|6|30|0|10|188|20|6|30|0|10|190|20|0|30|0|"
    "11|180|21|0|31|0|11|185|21|5|31|0|11|190|21|0|31|0|"
    "0|LEADER|5|118|330|1F|100|AcDbEntity|8|0|100|AcDbLeader|3|Standard|71|1|72|0|73|3|74|0|"
    "75|0|40|0|41|0|76|2|10|200|20|0|30|0|10|205|20|5|30|0|211|1|221|0|231|0|"
    "212|0|222|0|232|0|213|1|223|2|233|0|"
    "0|POLYLINE|5|119|330|1F|100|AcDbEntity|8|0|100|AcDb2dPolyline|66|1|10|0|20|0|30|0|70|1|"
    "40|0.2|41|0.2|"
    "0|VERTEX|5|11A|330|119|100|AcDbEntity|8|0|100|AcDbVertex|100|AcDb2dVertex|10|210|20|0|"
    "30|0|42|0.4|"
    "0|VERTEX|5|11B|330|119|100|AcDbEntity|8|0|100|AcDbVertex|100|AcDb2dVertex|10|220|20|0|30|0|"
    "0|VERTEX|5|11C|330|119|100|AcDbEntity|8|0|100|AcDbVertex|100|AcDb2dVertex|10|220|20|8|30|0|"
    "0|SEQEND|5|11D|330|119|100|AcDbEntity|8|0|"
    "0|POLYLINE|5|11E|330|1F|100|AcDbEntity|8|0|100|AcDb2dPolyline|66|1|10|0|20|0|30|0|70|0|"
    "210|0|220|0|230|-1|"
    "0|VERTEX|5|11F|330|11E|100|AcDbEntity|8|0|100|AcDbVertex|100|AcDb2dVertex|10|-240|20|0|"
    "30|0|42|0.2|"
    "0|VERTEX|5|120|330|11E|100|AcDbEntity|8|0|100|AcDbVertex|100|AcDb2dVertex|10|-245|20|4|30|0|"
    "0|SEQEND|5|121|330|11E|100|AcDbEntity|8|0|"
    "0|WIPEOUT|5|122|330|1F|100|AcDbEntity|8|0|100|AcDbWipeout|90|0|10|250|20|0|30|0|"
    "11|10|21|0|31|0|12|0|22|10|32|0|13|1|23|1|70|7|280|1|281|50|282|50|283|0|71|1|91|2|"
    "14|-0.5|24|-0.5|14|0.5|24|0.5";

// Paper space of the R2000 drawing (tab 1): a viewport.
inline const char* const kPaper2000 =
    "0|VIEWPORT|5|130|330|1B|100|AcDbEntity|67|1|8|0|100|AcDbViewport|10|50|20|50|30|0|40|80|"
    "41|60|68|1|69|2|12|10|22|10|13|0|23|0|14|10|24|10|15|10|25|10|16|0|26|0|36|1|17|0|27|0|"
    "37|0|42|50|43|0|44|0|45|40|50|0|51|0|72|1000|90|32864|1||281|0|71|1|74|0|110|0|120|0|"
    "130|0|111|1|121|0|131|0|112|0|122|1|132|0|79|0|146|0|170|0|61|5|348|0|292|1|282|1|"
    "141|0|142|0|63|250|421|3355443";

// R12: the kinds an R12 drawing holds, attributes included.
inline const char* const kEntities12 =
    "0|LINE|8|0|10|1|20|2|30|0|11|5|21|3|31|0|"
    "0|POLYLINE|8|0|66|1|10|0|20|0|30|0|70|1|"
    "0|VERTEX|8|0|10|10|20|0|30|0|42|0.5|0|VERTEX|8|0|10|20|20|0|30|0|"
    "0|VERTEX|8|0|10|20|20|8|30|0|0|SEQEND|8|0|"
    "0|ARC|8|0|10|30|20|5|30|0|40|4|50|10|51|100|"
    "0|CIRCLE|8|0|10|40|20|40|30|0|40|2.5|"
    "0|TEXT|8|0|10|60|20|10|30|0|40|2|1|Hallo|72|2|11|64|21|10|31|0|"
    "0|INSERT|8|0|66|1|2|TEIL|10|80|20|10|30|0|41|2|42|2|50|15|"
    "0|ATTRIB|8|0|10|81|20|11|30|0|40|1|1|Wert|2|TAG|70|0|50|15|0|SEQEND|8|0|"
    "0|SOLID|8|0|10|90|20|0|30|0|11|96|21|0|31|0|12|90|22|4|32|0|13|96|23|5|33|0|"
    "0|POINT|8|0|10|100|20|0|30|0|"
    "0|DIMENSION|8|0|2|*D1|10|120|20|10|30|0|11|115|21|10|31|0|70|1|13|110|23|0|33|0|"
    "14|120|24|0|34|0";

// Inserts `lines` before line `at` of the document.
inline void insertLines(Editor& ed, int at, const std::string& text)
{
    if (text.empty())
        return;
    const std::vector<std::string> add = splitLines(text);
    ed.dxf.lines.insert(size_t(at), add.begin(), add.end());
}

// The index of the first line holding `value` after a line holding `after` (trimmed): for
// a value such as "ENDSEC", the line after the pair's code line.
inline int lineOf(const Editor& ed, const std::string& value, const std::string& after = "")
{
    bool seen = after.empty();
    for (int i = 0; i < ed.dxf.count(); ++i) {
        const std::string_view l = trimDxf(ed.dxf[i]);
        if (seen && l == value)
            return i;
        if (l == after)
            seen = true;
    }
    return -1;
}

// The template with the entities `body` in model space (and `paper` in paper space),
// the block "Teil" with its attribute definition and, for R2000, its block record.
struct TransformFixture : EditorFixture {
    TransformFixture(bool r12, const std::string& body, const std::string& paper = "")
        : EditorFixture(r12 ? "template0.dat" : "template1.dat")
    {
        if (r12) {
            insertLines(ed, lineOf(ed, "ENDSEC", "ENTITIES") - 1, body);
            insertLines(ed, lineOf(ed, "ENDSEC", "BLOCKS") - 1,
                        "0|BLOCK|8|0|2|TEIL|70|2|10|1|20|0|30|0|"
                        "0|ATTDEF|8|0|10|0|20|0|30|0|40|1|1|x|3|Wert?|2|TAG|70|0|"
                        "0|LINE|8|0|10|1|20|0|30|0|11|3|21|1|31|0|"
                        "0|ARC|8|0|10|2|20|0|30|0|40|1|50|0|51|90|0|ENDBLK|8|0");
        } else {
            insertLines(ed, lineOf(ed, "ENDSEC", "ENTITIES") - 1,
                        body.empty() ? paper : paper.empty() ? body : body + "|" + paper);
            insertLines(ed, lineOf(ed, "ENDSEC", "BLOCKS") - 1,
                        "0|BLOCK|5|61|330|60|100|AcDbEntity|8|0|100|AcDbBlockBegin|2|Teil|70|2|"
                        "10|1|20|0|30|0|3|Teil|1||"
                        "0|ATTDEF|5|62|330|60|100|AcDbEntity|8|0|100|AcDbText|10|0|20|0|30|0|40|1|"
                        "1|x|100|AcDbAttributeDefinition|3|Wert?|2|TAG|70|0|"
                        "0|LINE|5|6A|330|60|100|AcDbEntity|8|0|100|AcDbLine|10|1|20|0|30|0|11|3|21|1|31|0|"
                        "0|ARC|5|6B|330|60|100|AcDbEntity|8|0|100|AcDbCircle|10|2|20|0|30|0|40|1|"
                        "100|AcDbArc|50|0|51|90|"
                        "0|ENDBLK|5|63|330|60|100|AcDbEntity|8|0|100|AcDbBlockEnd|"
                        "0|BLOCK|5|66|330|64|100|AcDbEntity|8|0|100|AcDbBlockBegin|2|*D1|70|1|"
                        "10|0|20|0|30|0|3|*D1|1||"
                        "0|ENDBLK|5|67|330|64|100|AcDbEntity|8|0|100|AcDbBlockEnd|"
                        "0|BLOCK|5|68|330|65|100|AcDbEntity|8|0|100|AcDbBlockBegin|2|*D2|70|1|"
                        "10|0|20|0|30|0|3|*D2|1||"
                        "0|ENDBLK|5|69|330|65|100|AcDbEntity|8|0|100|AcDbBlockEnd");
            insertLines(ed, lineOf(ed, "ENDTAB", "BLOCK_RECORD") - 1,
                        "0|BLOCK_RECORD|5|60|330|1|100|AcDbSymbolTableRecord|"
                        "100|AcDbBlockTableRecord|2|Teil|340|0|"
                        "0|BLOCK_RECORD|5|64|330|1|100|AcDbSymbolTableRecord|"
                        "100|AcDbBlockTableRecord|2|*D1|340|0|"
                        "0|BLOCK_RECORD|5|65|330|1|100|AcDbSymbolTableRecord|"
                        "100|AcDbBlockTableRecord|2|*D2|340|0");
            // The handles used above lie below 200: the seed names the next free one.
            ed.dxf.lines[size_t(lineOf(ed, "$HANDSEED") + 2)] = "200";
        }
        ed.FreeUndos();
        ed.processdxf();
        ed.setAreaSize(1000, 700);
        ed.ZoomFullIn();
    }
};

}  // namespace kerbon::test
