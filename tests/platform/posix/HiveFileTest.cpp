#include "platform/Registry.h"

#include "tests/platform/HarbellValues.h"
#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

// POSIX only: the registry stand-in keeps each hive as a REGEDIT4 file. The Windows side imports the
// same file into the real registry, and writes the export read here (WineRegistryTest).
namespace orvant::platform {
namespace {

using namespace test;
constexpr const char* kMachineHive = "registry/HKEY_LOCAL_MACHINE.reg";

void storeHarbellValues()
{
    for (const auto& [name, type, bytes] : kHarbellValues) {
        ASSERT_TRUE(storeRegistryValue(Hive::LocalMachine, kHarbellKey, name, type, bytes)) << name;
    }
}

TEST(HiveFile, IsTheRegeditTextWindowsImports)
{
    TestFolder folder;
    storeHarbellValues();
    EXPECT_TRUE(matchesDataFile(folder.read(kMachineHive), "fuzz/fuzz_regedit/harbell_01.reg"));
}

// regedit /E writes "Windows Registry Editor Version 5.00" in UTF-16.
TEST(HiveFile, ReadsAKeyThatRegeditExported)
{
    TestFolder folder;
    folder.write(kMachineHive, dataFile("fuzz/fuzz_regedit/harbell_01_exported.reg"));
    for (const auto& value : kHarbellValues) {
        const auto [name, type, bytes] = throughRegedit(value);
        EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kHarbellKey, name), (RegistryValue { type, bytes })) << name;
    }
}

TEST(HiveFile, ReadOnlyHiveRefusesWritersAndStaysAsItWas)
{
    TestFolder folder;
    storeHarbellValues();
    HKey openedBefore = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyAllAccess, &openedBefore), kErrorSuccess);
    const TreeSnapshot before = snapshotTree(folder.registryFolder());
    makeReadOnly(folder.path() / kMachineHive);

    HKey key = nullptr;
    EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell_02", 0x3F, &key), kErrorAccessDenied);
    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyAllAccess, &key), kErrorAccessDenied);
    EXPECT_EQ(regSetValueEx(openedBefore, "InstallDir", kRegSz, { 'D', 0 }), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(openedBefore), kErrorSuccess);
    EXPECT_TRUE(sameTree(before, snapshotTree(folder.registryFolder())));
    // Readers are not concerned, and the other hive still takes writes.
    EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kHarbellKey, "Environment")->bytes, "POS");
    EXPECT_TRUE(storeRegistryValue(Hive::CurrentUser, kHarbellKey, "Mode", kRegSz, "1"));
}

// A hive that cannot be parsed whole is read as far as it can be and never written over.
TEST(HiveFile, DamagedHiveIsReadAsFarAsPossibleAndNeverOverwritten)
{
    TestFolder folder;
    const std::string damaged = dataFile("fuzz/fuzz_regedit/corrupt.reg");
    folder.write("registry/HKEY_CURRENT_USER.reg", damaged);
    EXPECT_EQ(readRegistryValue(Hive::CurrentUser, "Good", "a"), (RegistryValue { kRegSz, "1"s + '\0' }));
    EXPECT_EQ(readRegistryValue(Hive::CurrentUser, "Good", "bad"), std::nullopt);
    EXPECT_FALSE(storeRegistryValue(Hive::CurrentUser, "Good", "a", kRegSz, "2"));
    EXPECT_EQ(folder.read("registry/HKEY_CURRENT_USER.reg"), damaged);
}

TEST(HiveFile, TwoProcessesWritingTheSameHiveLoseNothing)
{
    TestFolder folder;
    constexpr int kValuesEach = 40;
    std::vector<pid_t> children;
    for (char writer : { 'A', 'B' }) {
        if (const pid_t pid = ::fork(); pid == 0) {
            int failures = 0;
            for (int i = 0; i < kValuesEach; ++i) {
                failures += !storeRegistryValue(Hive::LocalMachine, kHarbellKey, writer + std::to_string(i), kRegSz, "x");
            }
            ::_exit(failures);
        } else {
            children.push_back(pid);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed writes in one writer";
    }
    for (char writer : { 'A', 'B' }) {
        for (int i = 0; i < kValuesEach; ++i) {
            EXPECT_TRUE(readRegistryValue(Hive::LocalMachine, kHarbellKey, writer + std::to_string(i))) << writer << i;
        }
    }
}

} // namespace
} // namespace orvant::platform
