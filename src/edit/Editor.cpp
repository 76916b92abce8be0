// The editor's document lifecycle (new, open, save, close, options, language) and the
// view commands it forwards to the view state.
#include "edit/Editor.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "dxf/processdxf.h"
#include "i18n/progfiles.h"
#include "i18n/translateunit.h"

namespace kerbon {

namespace fs = std::filesystem;

namespace {

const char* const optionsName = "options.dat";

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

// The file-name part of a path, with either kind of separator.
std::string baseName(const std::string& path)
{
    const size_t p = path.find_last_of("/\\");
    return p == std::string::npos ? path : path.substr(p + 1);
}

// The directory part of a path with its separator, or empty when it has none.
std::string directoryOf(const std::string& path)
{
    const size_t p = path.find_last_of("/\\");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

}  // namespace

Editor::Editor(Ui& ui) : ui(ui), datadirs(shippedDataDirs(executableDir()))
{
}

void Editor::processdxf()
{
    kerbon::processdxf(dxf, model, parseObserver);
    pendingFrom = kNothingPending;
}

std::string Editor::messageText(int n) const
{
    translations().language = language;
    return GetMessageText(n);
}

std::string Editor::translate(const std::string& german) const
{
    translations().language = language;
    return TranslateText(german);
}

void Editor::repaint()
{
    if (onRepaint)
        onRepaint();
}

// ---- caption and changed flag ----

std::string Editor::caption() const
{
    const std::string name = afilename.empty() ? messageText(34) : baseName(afilename);
    return maincap + " - [" + name + (changed ? "*]" : "]");
}

void Editor::showCaption()
{
    if (onCaption)
        onCaption(caption());
}

void Editor::SetChanged()
{
    changed = true;
    showCaption();
    recovery.current = false;
    if (++recovery.edits >= autosaveEdits)
        autosave();
}

void Editor::SetUnChanged()
{
    changed = false;
    showCaption();
    discardRecovery();  // saved, or a drawing opened afresh
}

// ---- open and new ----

bool Editor::openfilewithname(const std::string& fname)
{
    const bool ok = loadLines(fname, dxf);  // the list stays as it was on failure
    if (ok) {
        afilename = fname;
        FreeUndos();
        // The tabs' remembered views belong to the document that was open.
        model.layouts.clear();
        view.slot0 = view.slot1 = {};
        chosenLayer.clear();
    }
    else
        ui.messageBox(messageText(32) + fname, "", MsgIcon::Error, MsgButtons::Ok);
    processdxf();
    view.tabindex = 0;
    ZoomFullIn();
    repaint();
    if (ok)
        SetUnChanged();
    return ok;
}

bool Editor::OpenFile()
{
    FileDialogOptions opts;
    opts.filter = "DXF-Dateien (*.dxf)|*.dxf";
    opts.defaultExt = "dxf";
    opts.directory = directoryOf(afilename);
    const auto f = ui.openFileDialog(opts);
    if (!f)
        return false;
    return openfilewithname(*f);
}

bool Editor::askToSave()
{
    if (!changed)
        return true;
    switch (ui.messageBox(messageText(7), messageText(8), MsgIcon::Question,
                          MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return SaveFile();
    case MsgResult::No:  discardRecovery(); return true;
    default:             return false;
    }
}

std::string Editor::templatePath(const std::string& name) const
{
    if (fileExists(name))
        return name;
    for (const std::string& dir : datadirs)
        if (fileExists(dir + name))
            return dir + name;
    return name;  // not found anywhere: the open fails and names the file
}

bool Editor::NewFile(bool r12)
{
    if (!askToSave())
        return false;
    const bool ok = openfilewithname(templatePath(r12 ? "template0.dat" : "template1.dat"));
    afilename.clear();
    SetUnChanged();
    return ok;
}

bool Editor::OpenNamed(const std::string& fname)
{
    return askToSave() && openfilewithname(fname);
}

bool Editor::Open()
{
    if (!askToSave())
        return false;
    return OpenFile();
}

// ---- save ----

FileDialogOptions Editor::saveDialogOptions()
{
    FileDialogOptions opts;
    opts.filter = "DXF Dateien (*.dxf)|*.dxf";
    opts.defaultExt = "dxf";
    opts.overwritePrompt = true;
    return opts;
}

// Text of a character for the list of characters that cannot be saved.
bool Editor::SaveFileUnder(const std::string& fname)
{
    // Characters the file's encoding cannot hold would be replaced on saving: the user
    // decides whether that is acceptable. Declining is not a failure to write.
    const std::vector<char32_t> lost = unrepresentable(dxf);
    if (!lost.empty()) {
        const size_t shown = std::min<size_t>(lost.size(), 20);
        std::string list = describeChars({lost.begin(), lost.begin() + shown});
        if (lost.size() > shown)
            list += ", ...";
        const std::string text =
            translate("Die Kodierung der Datei kann folgende Zeichen nicht darstellen: ") +
            list + "\n" +
            translate("Sie werden beim Speichern ersetzt. Trotzdem speichern?");
        if (ui.messageBox(text, messageText(8), MsgIcon::Warning, MsgButtons::YesNo) !=
            MsgResult::Yes)
            return false;
    }
    if (saveLines(fname, dxf))
        return true;
    ui.messageBox(messageText(6) + fname, "", MsgIcon::Error, MsgButtons::Ok);
    return false;
}

bool Editor::SaveTheFile()
{
    const bool ok = SaveFileUnder(afilename);
    if (ok)
        SetUnChanged();
    return ok;
}

// Save dialog, then save under the chosen name; on failure the old name comes back and
// the document counts as changed.
bool Editor::saveToChosenName()
{
    FileDialogOptions opts = saveDialogOptions();
    opts.directory = directoryOf(afilename);
    const auto f = ui.saveFileDialog(opts);
    if (!f)
        return false;
    const std::string old = afilename;
    afilename = *f;
    if (SaveTheFile())
        return true;
    afilename = old;
    SetChanged();
    return false;
}

bool Editor::SaveFile()
{
    const bool ok = afilename.empty() ? saveToChosenName() : SaveTheFile();
    if (ok)
        SetUnChanged();
    return ok;
}

bool Editor::SaveAs()
{
    return saveToChosenName();
}

bool Editor::FormCloseQuery()
{
    if (!askToSave())
        return false;
    SaveOptions();
    return true;
}

// ---- options and language ----

void Editor::LoadOptions()
{
    languagesetto = 0;
    language = 0;
    std::ifstream in(progFileForReading(progpath, configpath, optionsName), std::ios::binary);
    unsigned char b[4];
    if (!in || !in.read(reinterpret_cast<char*>(b), 4))
        return;  // missing or short: German
    const uint32_t u = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                       uint32_t(b[3]) << 24;
    languagesetto = int32_t(u);
}

void Editor::SaveOptions()
{
    const uint32_t u = uint32_t(language);
    const char b[4] = {char(u & 0xFF), char(u >> 8 & 0xFF), char(u >> 16 & 0xFF),
                       char(u >> 24 & 0xFF)};
    writeProgFile(progpath, configpath, optionsName, std::string_view(b, 4));  // failure ignored
}

bool Editor::setLanguage(int index)
{
    if (dontchlang)
        return false;
    language = index;
    translations().language = index;  // lookups from now on use the new column
    ui.messageBox(messageText(2), messageText(3), MsgIcon::Information, MsgButtons::Ok);
    return true;
}

// ---- view ----

void Editor::ZoomInBtnClick()
{
    view.ZoomInBtnClick(model);
    repaint();
}

void Editor::ZoomOutBtnClick()
{
    view.ZoomOutBtnClick(model);
    repaint();
}

void Editor::ZoomFullIn()
{
    view.ZoomFullIn(model, page);
}

void Editor::ZoomAllClick()
{
    ZoomFullIn();
    repaint();
}

void Editor::mouseWheel(bool up, double px, double py, bool shift, bool ctrl)
{
    view.mouseWheel(up, px, py, shift, ctrl, model);
    repaint();
}

void Editor::scrollbarChange(int64_t scrollx, int64_t scrolly)
{
    view.setScroll(double(scrollx), double(scrolly), model);
    repaint();
}

void Editor::setAreaSize(int w, int h)
{
    view.W = w;
    view.H = h;
}

void Editor::TabControl1Change(int t)
{
    view.tabindex = t;
    view.restoreZoom(model, page);
    if (t > 0)
        addMissingViewports();
    repaint();
}

}  // namespace kerbon
