#pragma once

#include "config_tool/provisioning/NewInstance.h"
#include "config_tool/session/Backups.h"
#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/session/SaveTransaction.h"
#include "tests/support/InstallationTest.h"

namespace orvant::test {

// An installation in registry mode with the base instance, instance 1, the files Add New copies and the
// user store, loaded as the window loads it; saves are made as the window's OK makes them.
class BackupTest : public InstallationTest
{
protected:
    BackupTest()
    {
        copyData("tarnctl/installation");
        makeInstanceFolders(1);
        writeUsers();
        writeMode(false);
        startUp(session);
    }

    // An OK after one edit; the ID of the backup it left.
    std::string save(const std::string& timeout)
    {
        session.instances[1].timeout = timeout;
        EXPECT_TRUE(tarn::runOkSequence(session)) << ui.takeMessages();
        return tarn::listBackups().empty() ? std::string() : tarn::listBackups().back();
    }

    // Add New, then OK, as one save; the ID of the backup it left. changes (when given) gets what it changed.
    std::string addInstance(tarn::ChangeSet* changes = nullptr)
    {
        tarn::SaveTransaction transaction;
        const auto added = tarn::createNewInstance(
            session.instances, static_cast<int>(session.instances.size()), session.common.propertyDir,
            [this](tarn::CInstanceData& record, std::int16_t n) { return session.loadInstanceData(record, n); });
        EXPECT_TRUE(added.created) << added.message;
        session.instanceSections.push_back(added.section);
        EXPECT_TRUE(tarn::runOkSequence(session)) << ui.takeMessages();
        tarn::FailedWrites failures;
        EXPECT_TRUE(transaction.finish(failures));
        if (changes) {
            *changes = transaction.changes();
        }
        return transaction.backupId();
    }

    tarn::Backup backup(const std::string& id) const
    {
        tarn::Backup read;
        std::string error;
        EXPECT_TRUE(tarn::readBackup(id, read, error)) << error;
        return read;
    }

    tarn::ConfigSession session;
};

} // namespace orvant::test
