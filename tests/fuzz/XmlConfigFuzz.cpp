// The configuration file comes from installers and hand edits: whatever it holds, loading it, reading
// and writing values must not crash, a file the module wrote must load again with the values written,
// and a file that loaded with the right document element must take every value written to it (a save
// refuses only bytes that would not read back).
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string g_scratchFolder;

const std::string& scratchFile()
{
    static const std::string path = [] {
        g_scratchFolder = (std::filesystem::temp_directory_path() / "orvant-fuzz-xml-XXXXXX").string();
        if (!::mkdtemp(g_scratchFolder.data())) {
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(g_scratchFolder, ignored);
        });
        return g_scratchFolder + "/ORVANTConfiguration.xml";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace XmlConfig = tarn::XmlConfig;
    const std::string& path = scratchFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    tarn::Globals::state().xmlConfigurationPath = path;

    if (!XmlConfig::loadXmlConfig(path)) {
        if (XmlConfig::xmlGetValue("Timeout", 1, "30") != "30" || XmlConfig::xmlSetValue("Timeout", 1, "40")) {
            std::abort();
        }
        return 0;
    }
    for (const int n : { 0, 1, 2, 99 }) {
        XmlConfig::xmlGetValue("Timeout", n, "30");
        XmlConfig::xmlGetValue("InstanceId", n, "");
        XmlConfig::findInstanceElement(n);
    }

    const bool ownRoot = !XmlConfig::ensureElementPath("ORVANTConfiguration").empty();

    // "£ € Ω": one byte in Windows-1252, one byte there but not in ISO-8859-1 proper, none at all.
    const std::vector<std::pair<int, std::string>> writes
        = { { 0, "45" }, { 1, "\xC2\xA3 \xE2\x82\xAC \xCE\xA9" }, { 3, "a<b & \"c\"]]>" }, { 1, "55" } };
    std::vector<std::pair<int, std::string>> written;
    for (const auto& [n, value] : writes) {
        if (XmlConfig::xmlSetValue("Timeout", n, value)) {
            written.emplace_back(n, value);
            if (XmlConfig::xmlGetValue("Timeout", n, "") != value) {
                std::abort();
            }
        } else if (ownRoot) {
            std::abort();
        }
    }
    if (written.empty()) {
        return 0;
    }
    if (!XmlConfig::loadXmlConfig(path)) {
        std::abort();
    }
    for (const int n : { 0, 1, 3 }) {
        std::string expected;
        for (const auto& [m, value] : written) {
            if (m == n) {
                expected = value;
            }
        }
        if (!expected.empty() && XmlConfig::xmlGetValue("Timeout", n, "") != expected) {
            std::abort();
        }
    }
    return 0;
}
