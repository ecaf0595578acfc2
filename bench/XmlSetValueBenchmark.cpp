#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "tests/support/TestFolder.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <utility>

// The worst save there is: the base instance and 99 more written into an empty configuration file,
// every value a change, each rewriting the whole file.

namespace {

namespace XmlConfig = tarn::XmlConfig;

const std::array<std::pair<const char*, const char*>, 39> kInstanceValues = { {
    { "Environment", "1" },
    { "UPTTerminal", "False" },
    { "Timeout", "30" },
    { "CheckCardTimeout", "10" },
    { "SendReceipt", "False" },
    { "ReceiptPort", "200" },
    { "Debug", "False" },
    { "ExtendedDebug", "False" },
    { "FullScreen", "False" },
    { "AlwaysOnTop", "False" },
    { "PINByPass", "False" },
    { "LogoFile", "C:\\ORVANT\\kelbrin_logo.jpg" },
    { "CombiReader", "False" },
    { "ReferralMode", "1" },
    { "AskGratuity", "False" },
    { "USACreditDebit", "False" },
    { "InterfaceMethod", "0" },
    { "Port", "100" },
    { "InputDir", "C:\\ORVANT\\in" },
    { "OutputDir", "C:\\ORVANT\\out" },
    { "ReceiptDir", "C:\\ORVANT\\INSTANCE" },
    { "ReceiptWidth", "36" },
    { "Top", "120" },
    { "Left", "200" },
    { "WindowsSize", "100" },
    { "FontName", "Arial" },
    { "BackGroundColor", "-2147483633" },
    { "Watermark", "C:\\ORVANT\\watermark.jpg" },
    { "UseAvsRules", "False" },
    { "AvsDetailsMandatory", "True" },
    { "AvsRuleIndex", "0" },
    { "DisableCancel", "False" },
    { "CardNoHashValue", "True" },
    { "NextReceiptNumber", "1" },
    { "PrintReceiptFlag", "False" },
    { "IsVx670Printer", "False" },
    { "Printer", "\\\\PRINTSRV\\Receipts" },
    { "ExtendedPinMessage", "False" },
    { "PinPadPort", "50" },
} };

constexpr int kInstances = 100;

void fillNinetyNineInstances(benchmark::State& state)
{
    orvant::test::TestFolder folder;
    const std::string path = (folder.path() / "ORVANTConfiguration.xml").string();
    tarn::Globals::state().xmlConfigurationPath = path;
    long writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        folder.write("ORVANTConfiguration.xml",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration/>\r\n");
        XmlConfig::loadXmlConfig(path);
        const long before = XmlConfig::writeCount();
        state.ResumeTiming();

        // As a save does: every value rewrites the file, the save's end puts it on the disk.
        XmlConfig::beginSave();
        for (int n = 0; n < kInstances; ++n) {
            const std::string suffix = tarn::getInstanceString(static_cast<std::int16_t>(n));
            for (const auto& [key, value] : kInstanceValues) {
                if (!XmlConfig::xmlSetValue(key, n, std::string(value).append(suffix))) {
                    state.SkipWithError("a value could not be written");
                    return;
                }
            }
        }
        if (!XmlConfig::endSave()) {
            state.SkipWithError("the save did not reach the disk");
            return;
        }

        state.PauseTiming();
        writes = XmlConfig::writeCount() - before;
        state.ResumeTiming();
    }
    state.counters["writes"] = static_cast<double>(writes);
    state.counters["file_bytes"] = static_cast<double>(folder.read("ORVANTConfiguration.xml").size());
    XmlConfig::reset();
    tarn::Globals::reset();
}

BENCHMARK(fillNinetyNineInstances)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
