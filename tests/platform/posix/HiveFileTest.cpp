#include "platform/Registry.h"
#include "platform/posix/RegeditFile.h"
#include "tests/platform/HarbellValues.h"
#include "tests/support/Files.h"
#include "tests/support/RegistryProbe.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

// POSIX only: the registry stand-in keeps each hive as a REGEDIT4 file (RegeditFile). The Windows side imports the
// same file into the real registry, and exports the file read here (WineRegistryTest).
namespace orvant::platform {
namespace {

using namespace test;
using Lines = std::vector<std::size_t>;
constexpr const char* kMachineHive = "registry/HKEY_LOCAL_MACHINE.reg";

TEST(HiveFile, IsTheRegeditTextWindowsImportsAndReadsWhatRegeditExports)
{
    TestFolder folder;
    for (const auto& [name, type, bytes] : kHarbellValues) {
        ASSERT_TRUE(storeRegistryValue(Hive::LocalMachine, kHarbellKey, name, type, bytes)) << name;
    }
    EXPECT_TRUE(matchesDataFile(folder.read(kMachineHive), "fuzz/fuzz_regedit/harbell_01.reg"));
    // regedit /E writes "Windows Registry Editor Version 5.00" in UTF-16.
    folder.write(kMachineHive, dataFile("fuzz/fuzz_regedit/harbell_01_exported.reg"));
    for (const auto& value : kHarbellValues) {
        const auto [name, type, bytes] = throughRegedit(value);
        EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kHarbellKey, name), (RegistryValue { type, bytes })) << name;
    }
}

TEST(HiveFile, ReadOnlyHiveRefusesWritersButNotReadersOrTheOtherHive)
{
    TestFolder folder;
    ASSERT_TRUE(storeRegistryValue(Hive::LocalMachine, kHarbellKey, "Mode", kRegSz, "0"));
    HKey openedBefore = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyAllAccess, &openedBefore), kErrorSuccess);
    const TreeSnapshot before = snapshotTree(folder.registryFolder());
    makeReadOnly(folder.path() / kMachineHive);

    HKey key = nullptr;
    EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell_02", 0x3F, &key), kErrorAccessDenied);
    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbellKey, kKeyAllAccess, &key), kErrorAccessDenied);
    EXPECT_EQ(regSetValueEx(openedBefore, "Mode", kRegSz, { '1' }), kErrorAccessDenied);
    EXPECT_EQ(regDeleteValue(openedBefore, "Mode"), kErrorAccessDenied);
    EXPECT_EQ(regDeleteKey(Hive::LocalMachine, kHarbellKey), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(openedBefore), kErrorSuccess);
    EXPECT_TRUE(sameTree(before, snapshotTree(folder.registryFolder())));
    EXPECT_EQ(readRegistryValue(Hive::LocalMachine, kHarbellKey, "Mode")->bytes, "0");
    EXPECT_TRUE(storeRegistryValue(Hive::CurrentUser, kHarbellKey, "Mode", kRegSz, "1"));
}

// A hive that cannot be parsed whole is read as far as it can be and never written over.
TEST(HiveFile, DamagedHiveIsReadAsFarAsPossibleAndNeverOverwritten)
{
    TestFolder folder;
    folder.write("registry/HKEY_CURRENT_USER.reg", dataFile("fuzz/fuzz_regedit/corrupt.reg"));
    EXPECT_TRUE(readRegistryValue(Hive::CurrentUser, "Good", "a"));
    EXPECT_FALSE(readRegistryValue(Hive::CurrentUser, "Good", "bad"));
    EXPECT_FALSE(storeRegistryValue(Hive::CurrentUser, "Good", "a", kRegSz, "2"));
    EXPECT_EQ(regDeleteKey(Hive::CurrentUser, "Good"), kErrorInvalidData);
    EXPECT_EQ(folder.read("registry/HKEY_CURRENT_USER.reg"), dataFile("fuzz/fuzz_regedit/corrupt.reg"));
}

// What the parser makes of each file (edited by hand, damaged, exported by regedit in UTF-16, written
// by the stand-in), written back as the stand-in writes it, and read again unchanged.
TEST(RegeditFile, ReadsWhatItCanAndWritesItBackAsRegeditWould)
{
    const std::tuple<const char*, Lines, const char*> cases[] = {
        { "hand_edited", {}, "hand_edited_rewritten" },
        { "corrupt", { 5, 6, 7, 8, 9, 10 }, "corrupt_rewritten" },
        { "types", {}, "types_rewritten" },
        { "harbell_01_exported", {}, "harbell_01_rewritten" },
        { "harbell_01", {}, "harbell_01" },
    };
    for (const auto& [name, problemLines, rewritten] : cases) {
        std::vector<RegeditProblem> problems;
        const RegeditFile file = RegeditFile::parse(test::dataFile("fuzz/fuzz_regedit/"s + name + ".reg"), &problems);
        Lines lines;
        for (const auto& problem : problems) {
            lines.push_back(problem.line);
        }
        EXPECT_EQ(lines, problemLines) << name;
        EXPECT_TRUE(test::matchesDataFile(file.serialise(), "fuzz/fuzz_regedit/"s + rewritten + ".reg"));
        EXPECT_EQ(RegeditFile::parse(file.serialise()), file) << name;
    }
}

} // namespace
} // namespace orvant::platform
