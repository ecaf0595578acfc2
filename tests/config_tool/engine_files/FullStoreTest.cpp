#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/engine_files/InstanceProperties.h"
#include "config_tool/foundation/CProperties.h"
#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <gtest/gtest.h>

namespace orvant::test {
namespace {

// A property file already holding as many keys as a store can: a writer that needs one key more must
// not write the file without it, nor pass the save as a success.
TEST(FullStore, AKeyTheStoreCannotTakeFailsTheWriteOfItsFileAndLeavesTheFile)
{
    TestFolder folder;
    Installation installation(folder);
    ProcessStateGuard state;
    std::string full;
    for (int i = 0; i < tarn::CProperties::kMaxEntries; ++i) {
        full += "key" + std::to_string(i) + "=x\r\n";
    }
    for (const char* file : { "terminal.properties", "language.properties", "instance.properties" }) {
        installation.write(std::string("properties/") + file, full);
    }
    installation.write("conf/ORVANTConfiguration.xml", "<ORVANTConfiguration/>");

    tarn::CInstanceData record;
    record.pinpad = "Verifone sc5000";
    record.comport = "COM1";
    ASSERT_TRUE(record.pinpadProperties.load("C:\\ORVANT\\properties\\terminal.properties").ok);
    ASSERT_TRUE(record.languageProperties.load("C:\\ORVANT\\properties\\language.properties").ok);
    tarn::FailedWrites failures;
    tarn::writeDeviceProfile(record, 0, "C:\\ORVANT", failures);
    std::vector<tarn::CInstanceData> instances(1, record);
    tarn::writeDefaultProperties(instances, "C:\\ORVANT", failures);
    tarn::writeConfigHash(failures);

    EXPECT_EQ(failures.files,
              (std::vector<std::string> { "C:\\ORVANT\\properties\\terminal.properties",
                                          "C:\\ORVANT\\properties\\language.properties",
                                          "C:\\ORVANT\\properties\\instance.properties" }));
    for (const char* file : { "terminal.properties", "language.properties", "instance.properties" }) {
        EXPECT_EQ(installation.read(std::string("properties/") + file), full) << file;
    }
}

} // namespace
} // namespace orvant::test
