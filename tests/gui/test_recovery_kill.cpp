// A killed editor loses no more than the last autosave interval: the editor process draws,
// is killed with SIGKILL, and the next start restores exactly the drawn lines.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "dxf/LineStore.h"
#include "edit/Recovery.h"
#include "support/TempFiles.h"

using namespace kerbon;
namespace fs = std::filesystem;

namespace {

// Waits until a recovery file in dir holds `lines`, up to a generous limit (the machine
// may be busy). Hidden files are writes in progress, not yet the recovery file.
bool waitForRecovery(const std::string& dir, const LineList& lines)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir, ec)) {
            const std::string name = e.path().filename().string();
            if (name[0] == '.' || e.path().extension() != ".dxf")
                continue;
            if (auto r = readRecovery(e.path().string()); r && r->doc.lines == lines)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(RecoveryKill, KilledEditorOffersItsLinesAtTheNextStart)
{
    kerbon::test::TempDir tmp;
    const std::string config = tmp.path("config") + "/";
    const std::string drawing = tmp.path("teil.dxf");
    fs::create_directories(config);
    fs::copy_file(std::string(std::getenv("KERBON_TEST_DATA")) + "template1.dat", drawing);
    const std::string original = kerbon::test::readBytes(drawing);

    // 53 lines: the fiftieth edit writes the recovery file, the timer writes the last three.
    QProcess editor;
    editor.start(KERBON_RECOVERY_EDITOR,
                 {QString::fromStdString(config), "edit", QString::fromStdString(drawing), "53",
                  QString::fromStdString(tmp.path("expected.dxf"))});
    ASSERT_TRUE(editor.waitForStarted(60000));
    ASSERT_TRUE(editor.waitForReadyRead(120000)) << editor.readAllStandardError().toStdString();
    ASSERT_EQ(editor.readLine().trimmed().toStdString(), "edited");
    LineStore expected;
    ASSERT_TRUE(loadLines(tmp.path("expected.dxf"), expected));
    EXPECT_TRUE(waitForRecovery(config + "recovery", expected.lines));
    ::kill(pid_t(editor.processId()), SIGKILL);
    ASSERT_TRUE(editor.waitForFinished(60000));
    EXPECT_EQ(editor.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(kerbon::test::readBytes(drawing), original) << "the user's file is never written";

    QProcess again;
    again.start(KERBON_RECOVERY_EDITOR,
                {QString::fromStdString(config), "restore",
                 QString::fromStdString(tmp.path("restored.dxf"))});
    ASSERT_TRUE(again.waitForFinished(120000)) << again.readAllStandardError().toStdString();
    ASSERT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    const QStringList out = QString::fromUtf8(again.readAllStandardOutput()).split('\n');
    ASSERT_GE(out.size(), 2);
    EXPECT_EQ(out[0].toStdString(), fs::absolute(drawing).string());
    EXPECT_EQ(out[1].toStdString(), "1") << "restored as a changed drawing";
    LineStore restored;
    ASSERT_TRUE(loadLines(tmp.path("restored.dxf"), restored));
    EXPECT_EQ(restored.lines, expected.lines);
}

}  // namespace
