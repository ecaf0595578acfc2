// A backup's manifest and registry file are read back by a rollback, and anyone who could write the
// backups folder could have written them: their readers must never crash, and what they read must write
// back to text that reads again as the same.
#include "config_tool/session/BackupManifest.h"
#include "config_tool/session/RegistryBackupText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;

    tarn::Manifest manifest;
    if (tarn::parseManifest(text, manifest, error)) {
        const std::string written = tarn::manifestText(manifest);
        tarn::Manifest again;
        if (!tarn::parseManifest(written, again, error) || tarn::manifestText(again) != written) {
            std::abort();
        }
    }

    std::vector<tarn::RegistryValueChange> values;
    if (tarn::parseRegistryBackup(text, values, error)) {
        const std::string written = tarn::registryBackupText(values);
        std::vector<tarn::RegistryValueChange> again;
        if (!tarn::parseRegistryBackup(written, again, error) || tarn::registryBackupText(again) != written) {
            std::abort();
        }
    }
    return 0;
}
