// vantor.exe recording a running fakegame.exe: real Windows processes, real memory reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GameFolder.h"
#include "RecordingCheck.h"
#include "TempFolder.h"
#include "platform/win32/WideText.h"

namespace lv {
namespace {

// The programs under test lie beside the test program.
std::wstring besideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH * 4, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

HANDLE openInherited(const std::string& path, bool forWriting) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(widen(path).c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts `program` with `args`, standard input from `inputFile` and standard output (and
// errors) into `outputFile`.
HANDLE spawn(const std::wstring& program, const std::vector<std::string>& args,
             const std::string& inputFile, const std::string& outputFile) {
  std::wstring commandLine = L"\"" + program + L"\"";
  for (const std::string& arg : args) commandLine += L" \"" + widen(arg) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = openInherited(inputFile, false);
  startup.hStdOutput = openInherited(outputFile, true);
  startup.hStdError = startup.hStdOutput;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                nullptr, nullptr, &startup, &process);
  CloseHandle(startup.hStdInput);
  CloseHandle(startup.hStdOutput);
  EXPECT_TRUE(started) << narrow(program) << ": error " << GetLastError();
  if (!started) return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

int exitStatus(HANDLE process) {
  if (process == nullptr) return -1;
  WaitForSingleObject(process, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process, &status);
  CloseHandle(process);
  return static_cast<int>(status);
}

// The console text with Windows line ends made plain.
std::string withoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    exeName = testing::prepareGameFolder(folder, "g", "e2e.exe", "\r\n", "\\");
    folder.write("empty.txt", "");
  }

  int runVantor(const std::string& input, const std::vector<std::string>& extra = {}) {
    std::string inputFile = folder.write("input.txt", input);
    std::vector<std::string> args{"--ini-dir", folder.path(), "--start-delay", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int status = exitStatus(
        spawn(besideThisProgram(L"vantor.exe"), args, inputFile, folder.path() + "output.txt"));
    output = withoutCarriageReturns(testing::readWholeFile(folder.path() + "output.txt"));
    return status;
  }

  testing::TempFolder folder;
  std::string exeName;
  std::string output;
};

TEST_F(EndToEnd, RecordsTheRunningGameExactly) {
  // Under Wine each memory read is a round trip through the wineserver, which takes
  // milliseconds on a busy machine: at 5 frames a second the game rarely writes a frame
  // while the logger is reading one.
  fakegame::DriveParameters drive;
  drive.rateHz = 5;
  drive.durationSeconds = 6;
  drive.seed = 3;
  HANDLE game = spawn(besideThisProgram(L"fakegame.exe"),
                      testing::withFakegameArgs({}, folder.path() + "gpl", exeName, drive),
                      folder.path() + "empty.txt", folder.path() + "game.txt");
  // The first name names a folder that does not exist: asked again.
  EXPECT_EQ(runVantor("nofolder\\drive\r\ndrive\r\n", {"--attach-timeout", "10"}), 0);
  EXPECT_EQ(exitStatus(game), 0) << testing::readWholeFile(folder.path() + "game.txt");

  // Vantor.ini's backslashes are taken as folder separators and shown as '/'.
  std::string replay = folder.path() + "gpl/replay/";
  std::replace(replay.begin(), replay.end(), '\\', '/');
  EXPECT_EQ(output,
            "Tire wear will be loged in too\n"
            "Please start " +
                exeName +
                "!\n"
                "GPL version of the user: GPL1.2.0.2B\n" +
                exeName +
                " found. Data will be logged.\n\n"
                "Vorbereitung aufs Speichern\n"
                "Please click into console and\n"
                "write the same name like you have used for replay\n"
                "Could not save the telemetry: " +
                replay +
                "nofolder\\drive.tel: No such file or directory\n"
                "Please click into console and\n"
                "write the same name like you have used for replay\n");
  testing::expectRecordingOfDrive(testing::readWholeFile(folder.path() + "gpl/replay/drive.tel"),
                                  drive);
}

TEST_F(EndToEnd, NoGameEndsWithTheCommandInterpretersPause) {
  EXPECT_EQ(runVantor("\r\n", {"--attach-timeout", "0.2"}), 0);
  std::string failure =
      "\nData reading don't work!\n"
      "Please check if the path toyour gpl folder in Vantor.ini is correct!\n"
      "Please check if the text in MOD.ini is the exe you have started!\n"
      "\nTo finish click any button!";
  std::size_t at = output.find(failure);
  ASSERT_NE(at, std::string::npos) << output;
  // The wording is the command interpreter's own, which differs between Windows and Wine.
  EXPECT_EQ(output.substr(at + failure.size(), 25), "Press any key to continue");
}

TEST_F(EndToEnd, MissingIniFileExitsWithStatus1) {
  std::filesystem::remove(folder.path() + "Vantor.ini");
  EXPECT_EQ(runVantor(""), 1);
  EXPECT_EQ(output, "Tire wear will be loged in too\nDatei falsch!!!");
}

}  // namespace
}  // namespace lv
