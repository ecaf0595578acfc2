#include "platform/Registry.h"

#include "tests/platform/RegistryBytes.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace orvant::platform;
using namespace orvant::test;

constexpr char kHarbell[] = "SOFTWARE\\Kelbrin\\Harbell";
constexpr char kUserHive[] = "registry/HKEY_CURRENT_USER.reg";
constexpr char kMachineHive[] = "registry/HKEY_LOCAL_MACHINE.reg";

// Creates the key and sets one value as the system's writers do: open, set, close.
long setValue(Hive hive, const std::string& path, const std::string& name, std::uint32_t type, const Bytes& data)
{
    HKey key = nullptr;
    long result = regCreateKeyEx(hive, path, kKeyAllAccess, &key);
    if (result != kErrorSuccess) {
        return result;
    }
    result = regSetValueEx(key, name, type, data);
    regCloseKey(key);
    return result;
}

struct Read
{
    long result = 0;
    std::uint32_t type = 0;
    Bytes data;
};

// Reads one value as the system's readers do: ask for the size, then read into a buffer of it.
Read readValue(Hive hive, const std::string& path, const std::string& name)
{
    Read read;
    HKey key = nullptr;
    read.result = regOpenKeyEx(hive, path, kKeyQueryValue, &key);
    if (read.result != kErrorSuccess) {
        return read;
    }
    std::uint32_t size = 0;
    read.result = regQueryValueEx(key, name, &read.type, nullptr, &size);
    if (read.result == kErrorSuccess) {
        read.data.resize(size);
        read.result = regQueryValueEx(key, name, &read.type, read.data.data(), &size);
        read.data.resize(size);
    }
    regCloseKey(key);
    return read;
}

void removeWriteBits(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(Registry, StoresEveryTypeAndGivesBackTheSameBytes)
{
    TestFolder folder;
    const std::vector<std::pair<std::uint32_t, Bytes>> values = {
        { kRegSz, sz("C:\\ORVANT\\") },
        { kRegSz, bytes("no terminator") },
        { kRegSz, {} },
        { kRegExpandSz, sz("%KELBRIN_HOME%\\jre1.6.0_20\\bin") },
        { kRegBinary, { 0, 0xff, '\r', '\n', '"', '\\' } },
        { kRegDword, { 0x90, 0x1f, 0, 0 } },
        { kRegDwordBigEndian, { 0, 0, 0x1f, 0x90 } },
        { kRegMultiSz, { 'a', 0, 'b', 'c', 0, 0 } },
    };
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            ASSERT_EQ(setValue(hive, kHarbell, "v" + std::to_string(i), values[i].first, values[i].second),
                      kErrorSuccess);
        }
        ASSERT_EQ(setValue(hive, "", "", kRegSz, sz("root default")), kErrorSuccess);
    }
    for (Hive hive : { Hive::CurrentUser, Hive::LocalMachine }) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const Read read = readValue(hive, kHarbell, "v" + std::to_string(i));
            EXPECT_EQ(read.result, kErrorSuccess) << i;
            EXPECT_EQ(read.type, values[i].first) << i;
            EXPECT_EQ(read.data, values[i].second) << i;
        }
        EXPECT_EQ(readValue(hive, "", "").data, sz("root default"));
    }
    EXPECT_TRUE(folder.exists(kUserHive));
    EXPECT_TRUE(folder.exists(kMachineHive));
}

TEST(Registry, WritesTheHiveFileAsRegeditDoes)
{
    TestFolder folder;
    // The configuration tool stores text without its NUL; the environment tool with it.
    ASSERT_EQ(setValue(Hive::LocalMachine, kHarbell, "InstallDir", kRegSz, bytes("C:\\ORVANT")), kErrorSuccess);
    ASSERT_EQ(setValue(Hive::LocalMachine, kHarbell, "JavaHome", kRegExpandSz, sz("%KELBRIN_HOME%\\jre")),
              kErrorSuccess);
    // Names are UTF-8 in memory and Windows-1252 in the file; data are stored as given.
    ASSERT_EQ(setValue(Hive::LocalMachine, kHarbell, "W\xC3\xA4hrung", kRegSz, sz("\xA3")), kErrorSuccess);
    ASSERT_EQ(setValue(Hive::LocalMachine, "software\\kelbrin\\Harbell_01", "Port", kRegDword, { 0xa0, 0x0f, 0, 0 }),
              kErrorSuccess);

    EXPECT_EQ(folder.read(kMachineHive),
              crlf(R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE]

[HKEY_LOCAL_MACHINE\SOFTWARE\Kelbrin]

[HKEY_LOCAL_MACHINE\SOFTWARE\Kelbrin\Harbell]
"InstallDir"=hex(1):43,3a,5c,4f,52,56,41,4e,54
"JavaHome"=hex(2):25,4b,45,4c,42,52,49,4e,5f,48,4f,4d,45,25,5c,6a,72,65,00
"W)"
                   "\xE4"
                   R"(hrung"=")"
                   "\xA3"
                   R"("

[HKEY_LOCAL_MACHINE\SOFTWARE\Kelbrin\Harbell_01]
"Port"=dword:00000fa0

)"));

    // Key and value names ignore case, also beyond ASCII; the case first created is the one kept.
    ASSERT_EQ(setValue(Hive::CurrentUser, "Software\\Caf\xC3\xA9", "Path", kRegSz, sz("one")), kErrorSuccess);
    ASSERT_EQ(setValue(Hive::CurrentUser, "SOFTWARE\\CAF\xC3\x89", "PATH", kRegSz, sz("two")), kErrorSuccess);
    EXPECT_EQ(readValue(Hive::CurrentUser, "software\\caf\xC3\xA9", "path").data, sz("two"));
    EXPECT_EQ(folder.read(kUserHive),
              crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n"
                   "[HKEY_CURRENT_USER\\Software\\Caf\xE9]\n\"Path\"=\"two\"\n\n"));
}

TEST(Registry, QueryReportsSizesAndShortBuffers)
{
    TestFolder folder;
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Ten", kRegBinary, bytes("0123456789")), kErrorSuccess);
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbell, kKeyQueryValue, &key), kErrorSuccess);

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(regQueryValueEx(key, "Ten", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, nullptr, nullptr), kErrorSuccess);

    std::uint8_t buffer[20] = {};
    type = 0;
    size = 4;
    EXPECT_EQ(regQueryValueEx(key, "Ten", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, kRegBinary);

    size = 10;
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, &size), kErrorSuccess);
    EXPECT_EQ(Bytes(buffer, buffer + size), bytes("0123456789"));
    size = sizeof buffer;
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, &size), kErrorSuccess);
    EXPECT_EQ(size, 10u);

    size = 0;
    type = 99;
    EXPECT_EQ(regQueryValueEx(key, "Eleven", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(regQueryValueEx(key, "Ten", nullptr, buffer, nullptr), 87); // ERROR_INVALID_PARAMETER
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);

    EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_09", kKeyQueryValue, &key),
              kErrorFileNotFound);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbell, kKeyQueryValue, &key), kErrorFileNotFound);
}

TEST(Registry, RewritesTheFileOnlyWhenAValueChanges)
{
    TestFolder folder;
    const fs::path hive = folder.path() / kUserHive;
    const auto inode = [&] {
        struct stat status
        {
        };
        ::stat(hive.c_str(), &status);
        return status.st_ino;
    };
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("1")), kErrorSuccess);
    const auto first = inode();
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "MODE", kRegSz, sz("1")), kErrorSuccess);
    EXPECT_EQ(inode(), first);

    // The same bytes under another type are a change.
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegExpandSz, sz("1")), kErrorSuccess);
    EXPECT_NE(inode(), first);
    const Read read = readValue(Hive::CurrentUser, kHarbell, "Mode");
    EXPECT_EQ(read.type, kRegExpandSz);
    EXPECT_EQ(read.data, sz("1"));
}

TEST(Registry, TwoProcessesWritingTheSameKeyLoseNothing)
{
    TestFolder folder;
    constexpr int kValuesEach = 60;
    std::vector<pid_t> children;
    for (char writer : { 'A', 'B' }) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kValuesEach; ++i) {
                const std::string name = std::string(1, writer) + std::to_string(i);
                failures += setValue(Hive::LocalMachine, kHarbell, name, kRegSz, sz(name)) != kErrorSuccess;
            }
            ::_exit(failures);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "failed writes in one child";
    }

    for (char writer : { 'A', 'B' }) {
        for (int i = 0; i < kValuesEach; ++i) {
            const std::string name = std::string(1, writer) + std::to_string(i);
            EXPECT_EQ(readValue(Hive::LocalMachine, kHarbell, name).data, sz(name)) << name;
        }
    }
    EXPECT_FALSE(folder.exists(kUserHive));
}

TEST(Registry, ReadOnlyHiveFileRefusesWritersAndStaysAsItWas)
{
    TestFolder folder;
    ASSERT_EQ(setValue(Hive::LocalMachine, kHarbell, "InstallDir", kRegSz, sz("C:\\ORVANT\\")), kErrorSuccess);
    HKey openedBefore = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbell, kKeyAllAccess, &openedBefore), kErrorSuccess);
    const std::string before = folder.read(kMachineHive);
    removeWriteBits(folder.path() / kMachineHive);

    HKey key = nullptr;
    EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, kHarbell, kKeyAllAccess, &key), kErrorAccessDenied);
    EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell_01", 0x3F, &key), kErrorAccessDenied);
    EXPECT_EQ(regOpenKeyEx(Hive::LocalMachine, kHarbell, kKeyAllAccess, &key), kErrorAccessDenied);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(regSetValueEx(openedBefore, "InstallDir", kRegSz, sz("D:\\")), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(openedBefore), kErrorSuccess);
    EXPECT_EQ(folder.read(kMachineHive), before);

    // Readers are not concerned, and the other hive still takes writes.
    EXPECT_EQ(readValue(Hive::LocalMachine, kHarbell, "InstallDir").data, sz("C:\\ORVANT\\"));
    ASSERT_EQ(regCreateKeyEx(Hive::LocalMachine, kHarbell, kKeyQueryValue, &key), kErrorSuccess);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
    EXPECT_EQ(setValue(Hive::CurrentUser, kHarbell, "InstallDir", kRegSz, sz("C:\\ORVANT\\")), kErrorSuccess);
}

TEST(Registry, ReadOnlyFolderRefusesWritersAndStaysAsItWas)
{
    TestFolder folder;
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("0")), kErrorSuccess);
    const std::string before = folder.read(kUserHive);
    const auto entriesBefore = std::distance(fs::directory_iterator(folder.registryFolder()), {});
    removeWriteBits(folder.registryFolder());

    EXPECT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("1")), kErrorAccessDenied);
    EXPECT_EQ(setValue(Hive::LocalMachine, kHarbell, "Mode", kRegSz, sz("1")), kErrorAccessDenied);
    EXPECT_EQ(folder.read(kUserHive), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.registryFolder()), {}), entriesBefore);
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Mode").data, sz("0"));
}

TEST(Registry, FolderIsCreatedOnlyUnderAWritableParent)
{
    TestFolder folder;
    {
        ScopedEnv registry("ORVANT_REGISTRY_DIR", (folder.path() / "new" / "registry").string());
        EXPECT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("0")), kErrorSuccess);
        EXPECT_TRUE(folder.exists("new/registry/HKEY_CURRENT_USER.reg"));
    }
    fs::create_directory(folder.path() / "locked");
    removeWriteBits(folder.path() / "locked");
    {
        ScopedEnv registry("ORVANT_REGISTRY_DIR", (folder.path() / "locked" / "registry").string());
        HKey key = nullptr;
        EXPECT_EQ(regCreateKeyEx(Hive::LocalMachine, kHarbell, kKeyAllAccess, &key), kErrorAccessDenied);
        EXPECT_FALSE(folder.exists("locked/registry"));
        // Reading a hive that was never written finds nothing, and creates nothing either.
        EXPECT_EQ(readValue(Hive::LocalMachine, kHarbell, "Mode").result, kErrorFileNotFound);
        EXPECT_FALSE(folder.exists("locked/registry"));
    }
    // Without a folder set, the user hive lives in the user data folder.
    ScopedEnv registry("ORVANT_REGISTRY_DIR", nullptr);
    ScopedEnv dataHome("XDG_DATA_HOME", (folder.path() / "data").string());
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("1")), kErrorSuccess);
    EXPECT_TRUE(folder.exists("data/orvant/registry/HKEY_CURRENT_USER.reg"));
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Mode").data, sz("1"));
}

constexpr char kCorruptHive[] = "REGEDIT4\r\n"
                                "\r\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell]\r\n"
                                "\"Good\"=\"kept\"\r\n"
                                "\"Bad\"=hex:0g,12\r\n"
                                "\"Unfinished\"=\"no closing quote\r\n"
                                "\"AlsoGood\"=dword:00000001\r\n"
                                "[HKEY_CURRENT_USER\\SOFTWARE\\Kelbrin\\Harbell_01\r\n"
                                "\"Hidden\"=\"x\"\r\n";

TEST(Registry, CorruptHiveIsReadAsFarAsPossibleAndNeverOverwritten)
{
    TestFolder folder;
    folder.write(kUserHive, kCorruptHive);

    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Good").data, sz("kept"));
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "AlsoGood").data, (Bytes { 1, 0, 0, 0 }));
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Bad").result, kErrorFileNotFound);
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Unfinished").result, kErrorFileNotFound);
    EXPECT_EQ(readValue(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_01", "Hidden").result, kErrorFileNotFound);

    HKey key = nullptr;
    ASSERT_EQ(regCreateKeyEx(Hive::CurrentUser, kHarbell, kKeyAllAccess, &key), kErrorSuccess);
    EXPECT_EQ(regSetValueEx(key, "Good", kRegSz, sz("changed")), kErrorInvalidData);
    EXPECT_EQ(regSetValueEx(key, "New", kRegSz, sz("new")), kErrorInvalidData);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_01", kKeyAllAccess, &key),
              kErrorInvalidData);
    EXPECT_EQ(folder.read(kUserHive), kCorruptHive);
}

TEST(Registry, TruncatedOrBinaryHiveNeitherCrashesReadersNorIsOverwritten)
{
    TestFolder folder;
    Bytes blob(200, 0xAB);
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "First", kRegSz, sz("1")), kErrorSuccess);
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Blob", kRegBinary, blob), kErrorSuccess);
    const std::string whole = folder.read(kUserHive);
    // Cut in the middle of the blob's continuation lines, as a full disk might have left it.
    const std::string truncated = whole.substr(0, whole.find("\\\r\n") + 3);
    folder.write(kUserHive, truncated);

    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "First").data, sz("1"));
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "Blob").result, kErrorFileNotFound);
    EXPECT_EQ(setValue(Hive::CurrentUser, kHarbell, "First", kRegSz, sz("2")), kErrorInvalidData);
    EXPECT_EQ(folder.read(kUserHive), truncated);

    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary.push_back(static_cast<char>((i * 7919) % 251));
    }
    folder.write(kUserHive, binary);
    EXPECT_EQ(readValue(Hive::CurrentUser, kHarbell, "First").result, kErrorFileNotFound);
    EXPECT_EQ(setValue(Hive::CurrentUser, kHarbell, "First", kRegSz, sz("2")), kErrorInvalidData);
    EXPECT_EQ(folder.read(kUserHive), binary);
}

TEST(Registry, UnreadableHiveIsNeitherReadNorReplaced)
{
    TestFolder folder;
    ASSERT_EQ(setValue(Hive::CurrentUser, kHarbell, "Mode", kRegSz, sz("0")), kErrorSuccess);
    HKey key = nullptr;
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbell, kKeyAllAccess, &key), kErrorSuccess);
    const std::string before = folder.read(kUserHive);
    fs::permissions(folder.path() / kUserHive, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::remove);

    std::uint32_t size = 0;
    EXPECT_EQ(regQueryValueEx(key, "Mode", nullptr, nullptr, &size), kErrorAccessDenied);
    EXPECT_EQ(regSetValueEx(key, "Mode", kRegSz, sz("1")), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
    EXPECT_EQ(regOpenKeyEx(Hive::CurrentUser, kHarbell, kKeyQueryValue, &key), kErrorAccessDenied);
    fs::permissions(folder.path() / kUserHive, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(folder.read(kUserHive), before);
}

TEST(Registry, RefusesBadHandlesRightsAndNames)
{
    TestFolder folder;
    HKey key = nullptr;
    ASSERT_EQ(regCreateKeyEx(Hive::CurrentUser, kHarbell, kKeyQueryValue, &key), kErrorSuccess);
    // Created although only query access was asked for, as RegCreateKeyEx does; but not writable through it.
    EXPECT_EQ(regSetValueEx(key, "Mode", kRegSz, sz("1")), kErrorAccessDenied);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
    EXPECT_EQ(regCloseKey(key), 6); // ERROR_INVALID_HANDLE
    EXPECT_EQ(regCloseKey(nullptr), 6);
    EXPECT_EQ(regSetValueEx(nullptr, "Mode", kRegSz, sz("1")), 6);

    EXPECT_EQ(regCreateKeyEx(static_cast<Hive>(0x80000000u), kHarbell, kKeyAllAccess, &key), 6);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, "\\SOFTWARE", kKeyAllAccess, &key), 161); // ERROR_BAD_PATHNAME
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, "SOFTWARE\\\\Kelbrin", kKeyAllAccess, &key), 161);
    EXPECT_EQ(regCreateKeyEx(Hive::CurrentUser, kHarbell, kKeyAllAccess, nullptr), 87); // ERROR_INVALID_PARAMETER

    // A trailing separator names the same key.
    ASSERT_EQ(regOpenKeyEx(Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell\\", kKeyAllAccess, &key), kErrorSuccess);
    // A line break cannot be written into the hive's text.
    EXPECT_EQ(regSetValueEx(key, "two\nlines", kRegSz, sz("1")), 87);
    EXPECT_EQ(regCloseKey(key), kErrorSuccess);
}

} // namespace
