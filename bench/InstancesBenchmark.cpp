#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/SaveSequences.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <string>

// An installation with the base instance and 99 more, each with its three property files: loading
// them all, the first OK into a configuration file that holds nothing yet, and an OK that changes
// nothing (which must not rewrite the configuration file).

namespace {

namespace XmlConfig = tarn::XmlConfig;
using orvant::test::FakeUi;
using orvant::test::ScopedEnv;
using orvant::test::TestFolder;

constexpr std::int16_t kLastInstance = 99;

const char* const kEmptyConfiguration
    = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration>\r\n</ORVANTConfiguration>\r\n";

std::string lines(std::initializer_list<std::string> list)
{
    std::string text;
    for (const auto& line : list) {
        text += line + "\r\n";
    }
    return text;
}

std::string terminalProperties(std::int16_t n)
{
    return lines({ "name=terminal.properties",
                   "version=1.00",
                   "date=Mon Jun 24 14:00:00 BST 2002",
                   "properties.directory=C:/ORVANT/INSTANCE_" + tarn::getInstanceString(n) + "/properties",
                   "logging.directory=logs\\\\",
                   "logging.extension=txt",
                   "logging.class=sts.logging.STSAuditLoggingSFNNoDir",
                   "cardPaymentSystem.class=mardo.orvant.cps.MARDOEPOSServerConnector",
                   "pinProgress.class=mardo.orvant.services.OrvantPinProgress",
                   "smartCardReader.reporting=yes",
                   "pinVerification.class.timeout=30000",
                   "smartCardReader.port=COM1",
                   "smartCardReader.baudrate.initial=57600",
                   "smartCardReader.class=sts.drivers.cardholder.DioneDriver",
                   "magStripeReader.class=sts.drivers.cardholder.DioneDriver",
                   "cardHolderKeyPad.class=sts.drivers.cardholder.DioneDriver",
                   "cardHolderDisplay.class=sts.drivers.cardholder.DioneDriver",
                   "pinVerification.class=sts.businesslogic.basicPinVerification",
                   "cardHolderSelection.class=sts.businesslogic.advancedCardHolderSelection",
                   "smartCardReader.timeout=2000",
                   "pinpad.name=Dione secura" });
}

// A language file as an older installation left it: the save fills in the messages it lacks.
const std::string kLanguageProperties = lines({ "en.01=AMOUNT #", "en.02=OK?", "en.03=APPROVED" });

const std::string kEmvProperties = lines({ "emv.kernel=4", "emv.terminal.type=22", "emv.capabilities=E0F8C8" });

class Installation
{
public:
    Installation()
    {
        tarn::Globals::reset();
        XmlConfig::reset();
        tarn::Globals::setUi(&m_ui);
        for (const char* sub : { "conf", "bin", "logs" }) {
            std::filesystem::create_directories(root() / sub);
        }
        m_folder.write("drive_c/ORVANT/properties/hbl.properties", "Configuration=xml\r\n");
        m_folder.write("drive_c/ORVANT/conf/ORVANTConfiguration.xml", kEmptyConfiguration);
        for (std::int16_t n = 0; n <= kLastInstance; ++n) {
            const std::string folder
                = "drive_c/ORVANT/" + (n == 0 ? std::string() : "INSTANCE_" + tarn::getInstanceString(n) + "/");
            m_folder.write(folder + "properties/terminal.properties", terminalProperties(n));
            m_folder.write(folder + "properties/terminal.emv.properties", kEmvProperties);
            m_folder.write(folder + "properties/language.properties", kLanguageProperties);
        }
        auto& state = tarn::Globals::state();
        state.configurationMode = tarn::determineConfigurationMode();
    }

    ~Installation()
    {
        tarn::Globals::setUi(nullptr);
        XmlConfig::reset();
        tarn::Globals::reset();
    }

    std::filesystem::path root() const { return m_folder.driveC() / "ORVANT"; }
    const FakeUi& ui() const { return m_ui; }

    // The window's load: the configuration file, the common settings, then every instance found.
    static void loadAll(tarn::ConfigSession& session)
    {
        XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
        session.loadCommonSettings();
        session.loadAllInstances();
    }

    // Records for instances 0 to 99 that the store knows nothing of yet, as after adding them.
    static void loadUnsaved(tarn::ConfigSession& session)
    {
        XmlConfig::loadXmlConfig(tarn::Globals::state().xmlConfigurationPath);
        session.loadCommonSettings();
        session.instances.resize(kLastInstance + 1);
        session.instanceSections.clear();
        for (std::int16_t n = 0; n <= kLastInstance; ++n) {
            session.instanceSections.push_back(tarn::instanceSection(n));
            session.loadInstanceData(session.instances[static_cast<std::size_t>(n)], n);
        }
    }

    bool saved = false;

private:
    TestFolder m_folder;
    ScopedEnv m_home { "KELBRIN_HOME", std::string("C:\\ORVANT") };
    FakeUi m_ui;
};

// The benchmarks share one installation so that the second OK finds what the first one wrote.
std::unique_ptr<Installation>& installation()
{
    static std::unique_ptr<Installation> instance;
    return instance;
}

Installation& savedInstallation()
{
    auto& current = installation();
    if (!current) {
        current = std::make_unique<Installation>();
    }
    if (!current->saved) {
        tarn::ConfigSession session;
        Installation::loadUnsaved(session);
        tarn::runOkSequence(session);
        current->saved = true;
    }
    return *current;
}

void BM_FirstOkIntoAnEmptyConfiguration(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        installation().reset();
        installation() = std::make_unique<Installation>();
        tarn::ConfigSession session;
        Installation::loadUnsaved(session);
        const long writesBefore = XmlConfig::writeCount();
        state.ResumeTiming();

        const bool mayEnd = tarn::runOkSequence(session);

        state.PauseTiming();
        state.counters["xml_writes"] = static_cast<double>(XmlConfig::writeCount() - writesBefore);
        if (!mayEnd || !installation()->ui().messages.empty()) {
            state.SkipWithError("the first OK did not save everything");
        }
        installation()->saved = true;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstOkIntoAnEmptyConfiguration)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadAllInstances(benchmark::State& state)
{
    savedInstallation();
    for (auto _ : state) {
        tarn::ConfigSession session;
        Installation::loadAll(session);
        if (session.instances.size() != kLastInstance + 1u) {
            state.SkipWithError("not every instance was found");
            break;
        }
        benchmark::DoNotOptimize(session.instances.data());
    }
}
BENCHMARK(BM_LoadAllInstances)->Unit(benchmark::kMillisecond);

void BM_SecondOkWithNothingChanged(benchmark::State& state)
{
    auto& current = savedInstallation();
    long writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tarn::ConfigSession session;
        Installation::loadAll(session);
        const long writesBefore = XmlConfig::writeCount();
        state.ResumeTiming();

        const bool mayEnd = tarn::runOkSequence(session);

        state.PauseTiming();
        writes += XmlConfig::writeCount() - writesBefore;
        if (!mayEnd || !current.ui().messages.empty()) {
            state.SkipWithError("the second OK did not save everything");
        }
        state.ResumeTiming();
    }
    state.counters["xml_writes"] = static_cast<double>(writes);
    if (writes != 0) {
        state.SkipWithError("an OK with nothing changed rewrote the configuration file");
    }
}
BENCHMARK(BM_SecondOkWithNothingChanged)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    installation().reset();
    benchmark::Shutdown();
    return 0;
}
