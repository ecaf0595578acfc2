#include "platform/DirectWrites.h"
#include "platform/FileSystem.h"
#include "tests/support/Files.h"
#include "tests/support/TestFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

// Windows only: the access rules of the folders a save keeps its backups in, and the log's appends.
namespace orvant::platform {
namespace {

// The SIDs the folder's rules grant access to, as strings ("S-1-5-32-544").
struct FolderRules
{
    std::vector<std::string> granted;
};

FolderRules rulesOf(const std::string& path)
{
    FolderRules rules;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                              &descriptor)
        != ERROR_SUCCESS) {
        return rules;
    }
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        char* sid = nullptr;
        if (GetAce(acl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE
            && ConvertSidToStringSidA(&ace->SidStart, &sid)) {
            rules.granted.emplace_back(sid);
            LocalFree(sid);
        }
    }
    LocalFree(descriptor);
    return rules;
}

std::string currentUserSid()
{
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    CloseHandle(token);
    char* sid = nullptr;
    ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid);
    const std::string text = sid;
    LocalFree(sid);
    return text;
}

TEST(OwnRecords, BackupFoldersGrantTheOwnerAdministratorsAndSystemAlone)
{
    test::TestFolder folder;
    ASSERT_TRUE(createNewFolderNow(folder.stored("backups"), FolderAccess::OwnerOnly).ok);
    EXPECT_FALSE(createNewFolderNow(folder.stored("backups"), FolderAccess::OwnerOnly).ok) << "made new, or not at all";
    // Windows keeps the rules as given: protected, and exactly these three. Wine keeps no rules of its own
    // for a file: it shows those the folder's Unix permissions give, which for an owner-only folder
    // grant its owner and SYSTEM, and nobody else.
    const FolderRules rules = rulesOf(folder.stored("backups"));
    EXPECT_THAT(rules.granted, ::testing::Contains(currentUserSid()));
    EXPECT_THAT(rules.granted,
                ::testing::IsSubsetOf({ currentUserSid(), std::string("S-1-5-32-544"), std::string("S-1-5-18") }));
}

TEST(OwnRecords, AnAppendStartsALineOfItsOwn)
{
    test::TestFolder folder;
    folder.write("audit.log", "first\r\ntor");
    ASSERT_TRUE(appendToFile(folder.stored("audit.log"), "second\r\n", "\r\n").ok);
    ASSERT_TRUE(appendToFile(folder.stored("audit.log"), "third\r\n", "\r\n").ok);
    EXPECT_EQ(folder.read("audit.log"), "first\r\ntor\r\nsecond\r\nthird\r\n");
}

} // namespace
} // namespace orvant::platform
