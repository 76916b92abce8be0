// Autosave of the editor's unsaved lines and the offer to restore them at the next start.
#include <filesystem>

#include "edit/Editor.h"

namespace kerbon {

std::string Editor::recoveryPath() const
{
    if (recoverydir.empty())
        return "";
    return recoverydir + recoveryFileName(afilename, recovery.token);
}

bool Editor::autosave()
{
    if (recoverydir.empty() || !changed || recovery.current)
        return true;
    recovery.edits = 0;  // a failed write is tried again at the next occasion, not every edit
    const std::string path = recoveryPath();
    const bool newName = path != recovery.written;  // first write, or the drawing was renamed
    RecoveryLock lock;
    if (newName && !lock.take(path))
        return false;
    std::error_code ec;
    const std::string drawing =
        afilename.empty() ? "" : std::filesystem::absolute(afilename, ec).string();
    if (!writeRecovery(path, dxf, ec ? afilename : drawing)) {
        if (newName) {
            lock.release();
            removeRecoveryFile(path);
        }
        return false;
    }
    if (newName) {
        discardRecovery();  // the file of the old name
        recovery.lock = std::move(lock);
        recovery.written = path;
    }
    recovery.current = true;
    return true;
}

void Editor::discardRecovery()
{
    if (!recovery.written.empty())
        removeRecoveryFile(recovery.written);
    recovery.lock.release();
    recovery.written.clear();
    recovery.current = false;
    recovery.edits = 0;
}

bool Editor::offerRecovery()
{
    for (const LeftRecovery& left : leftRecoveries(recoverydir)) {
        RecoveryLock lock;
        if (!lock.take(left.path))
            continue;  // another editor starting at the same time took it
        const std::string name = left.drawingPath.empty() ? messageText(34) : left.drawingPath;
        const std::string text =
            translate("Kerbon wurde nicht ordnungsgemäß beendet. Nicht gespeicherte Änderungen "
                      "an folgender Zeichnung lassen sich wiederherstellen: ") +
            "\n" + name + " (" + recoveryTimeText(left.written) + ")";
        const int answer =
            ui.choiceBox(text, translate("Wiederherstellen"), MsgIcon::Question,
                         {translate("Wiederherstellen"), translate("Verwerfen")});
        if (answer == 1) {
            removeRecoveryFile(left.path);
            continue;
        }
        if (answer != 0)
            return false;  // closed without an answer: asked again at the next start
        std::optional<Recovered> r = readRecovery(left.path);
        if (!r || !askToSave())
            return false;
        dxf = std::move(r->doc);
        afilename = r->drawingPath;
        FreeUndos();
        processdxf();
        view.tabindex = 0;
        ZoomFullIn();
        repaint();
        SetChanged();
        // The restored lines go to this editor's own recovery file before the old one goes.
        if (autosave())
            removeRecoveryFile(left.path);
        return true;
    }
    return false;
}

}  // namespace kerbon
