// Recovery files: the editor's unsaved line list, written now and then to a folder of the
// per-user configuration directory, so that a crash, a killed process or a power cut costs
// at most the work since the last write. The user's own file is never touched.
//
// A recovery file is a DXF text in UTF-8 with byte-order mark (every line of any document
// survives it), led by three comment pairs: a mark, the drawing's path (empty: untitled)
// and the encoding the drawing is saved in. Its name is made of the drawing's file name, a
// number derived from its path and a token of the editor that writes it, so editors
// running side by side never share one. While an editor owns a recovery file it holds a
// lock on the file's companion NAME.lock: a file whose lock can be taken was left behind by
// a run that ended without cleaning up.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dxf/LineStore.h"

namespace kerbon {

// The file name (no directory) of the recovery file for the drawing at `drawingPath`
// (empty: an untitled drawing), written by the editor with `token`.
std::string recoveryFileName(const std::string& drawingPath, const std::string& token);
// A token no other editor uses: hexadecimal digits of random bits.
std::string newRecoveryToken();

// Writes `doc` as recovery file `path` (beside-and-rename, as saving does). False when it
// could not be written.
bool writeRecovery(const std::string& path, const LineStore& doc, const std::string& drawingPath);

struct Recovered {
    LineStore doc;            // the lines, with the encoding the drawing is saved in
    std::string drawingPath;  // empty for an untitled drawing
};
// The content of a recovery file; nullopt when the file cannot be read or is none.
std::optional<Recovered> readRecovery(const std::string& path);

// An exclusive lock on `path` + ".lock" (created when missing), held while the object
// lives. Taking it fails while another process (or another lock object) holds it.
class RecoveryLock {
public:
    RecoveryLock() = default;
    RecoveryLock(const RecoveryLock&) = delete;
    RecoveryLock& operator=(const RecoveryLock&) = delete;
    RecoveryLock(RecoveryLock&& o) noexcept : fd(std::exchange(o.fd, -1)) {}
    RecoveryLock& operator=(RecoveryLock&& o) noexcept
    {
        if (this != &o) {
            release();
            fd = std::exchange(o.fd, -1);
        }
        return *this;
    }
    ~RecoveryLock() { release(); }

    bool take(const std::string& path);  // releases a lock held before; false: held elsewhere
    void release();                      // lets go (the lock file stays)
    bool held() const { return fd >= 0; }

private:
    int fd = -1;
};

// Removes a recovery file and its lock file.
void removeRecoveryFile(const std::string& path);

// A recovery file left behind by an editor that did not end cleanly.
struct LeftRecovery {
    std::string path;
    std::string drawingPath;
    std::filesystem::file_time_type written;
};
// The recovery files in `dir` that no running editor holds and that are newer than their
// drawing (or whose drawing is untitled or gone), newest first. Files older than their
// drawing were overtaken by a save and are removed.
std::vector<LeftRecovery> leftRecoveries(const std::string& dir);

// What an editor keeps of its recovery file.
struct AutosaveState {
    std::string token = newRecoveryToken();  // this editor's part of the file names
    std::string written;      // the recovery file written last; empty: none
    RecoveryLock lock;        // held while `written` exists
    int edits = 0;            // edits since the last write
    bool current = false;     // `written` holds the lines as they are
};

// "10.12.2024 14:05" in local time.
std::string recoveryTimeText(std::filesystem::file_time_type t);

}  // namespace kerbon
