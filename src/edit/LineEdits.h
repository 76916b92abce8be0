// The edit road as a type: a set of line edits (insert, delete, replace) against the
// document as it is now, applied in one go and recorded as one undo step, and the undo
// records themselves (`tundo`, `taction`).
//
// Writers and transforms build an EditSet from the model and return it; only
// Editor::applyEdits changes the document with it (undo step, changed flag, re-parse,
// repaint).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dxf/LineStore.h"

namespace kerbon {

// One change of the line list. `pos` is a line index into the document as it was before
// the whole set is applied, so a builder can take every position straight from the model.
struct LineEdit {
    enum class Kind { Insert, Delete, Replace };
    Kind kind = Kind::Insert;
    int pos = 0;                     // Insert: before this line (count() = at the end)
    int count = 0;                   // Delete: number of lines from pos
    std::vector<std::string> lines;  // Insert: the new lines; Replace: exactly one line
};

// The edits of one user operation. Edits may come in any order. Two edits must not touch
// the same line, except that insertions may stand at the position where a deletion or
// replacement starts (they go before it) and several insertions may share a position (they
// keep the order in which they were added).
struct EditSet {
    std::vector<LineEdit> edits;

    void insert(int pos, std::vector<std::string> lines);
    void erase(int pos, int count);
    void replace(int pos, std::string line);
    bool empty() const { return edits.empty(); }
};

// One elementary action of an undo step. Positions refer to the line list as it was when
// the action was applied; undo reverses a step's actions last first, so they are valid
// again when their turn comes.
struct taction {
    int32_t typ = 0;                // 0 insertion, 1 deletion, 2 replacement
    int32_t start = 0;              // first inserted / first deleted / the replaced line
    int32_t len = 0;                // inserted or deleted lines; not used for 2
    int32_t dest = 0;               // not used
    std::vector<std::string> ustrs; // 1: the deleted lines; 2: the old text of the line
};

// One undo step: the actions of one user operation in the order they were applied.
struct tundo {
    std::vector<taction> actions;
};

// True when every edit lies inside the document and no two edits touch the same line (see
// EditSet). A set that fails the check must not be applied.
bool validEdits(const EditSet& set, int lineCount);

// Applies a valid set to the lines and returns the actions it took, in the order taken
// (highest position first). Deleted and replaced lines are kept in the actions.
tundo applyEditSet(LineStore& dxf, EditSet set);

// Reverses a step on the lines: its actions last first. The step's saved lines go back
// into the document and are dropped from the step.
void undoStep(LineStore& dxf, tundo& step);

}  // namespace kerbon
