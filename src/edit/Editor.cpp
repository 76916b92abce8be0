// The editor's document operations.
#include "edit/Editor.h"

#include "dxf/processdxf.h"

namespace kerbon {

void Editor::processdxf()
{
    kerbon::processdxf(dxf, model);
}

}  // namespace kerbon
