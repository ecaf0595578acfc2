#include "config_tool/foundation/Globals.h"
#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/session/SaveTransaction.h"
#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <sys/stat.h>

// What an installation of the base instance and 99 more costs, in registry mode and in XML mode:
// loading every instance, the first OK into a configuration that holds nothing yet (an empty
// configuration file and empty registry hives), an OK or Apply that changes nothing, an OK that changes
// one value of instance 50 (tarnctl apply and set), and the dry runs of those two OKs. Each figure comes
// with the number of files the operation replaced.

namespace {

using orvant::test::Installation;
using orvant::test::ProcessStateGuard;
using orvant::test::TestFolder;
namespace fs = std::filesystem;

constexpr std::int16_t kLastInstance = 99;

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
    return lines({ "name=terminal.properties", "version=1.00",
                   "properties.directory=C:/ORVANT/INSTANCE_" + tarn::getInstanceString(n) + "/properties",
                   "smartCardReader.port=COM1", "smartCardReader.baudrate.initial=57600",
                   "smartCardReader.class=sts.drivers.cardholder.DioneDriver",
                   "magStripeReader.class=sts.drivers.cardholder.DioneDriver",
                   "cardHolderKeyPad.class=sts.drivers.cardholder.DioneDriver",
                   "cardHolderDisplay.class=sts.drivers.cardholder.DioneDriver", "pinpad.name=Dione secura" });
}

// A fresh installation of 100 instances whose configuration file and registry hold nothing yet.
struct Scene
{
    TestFolder folder;
    Installation installation { folder };
    ProcessStateGuard state;

    explicit Scene(bool xmlMode)
    {
        installation.write("conf/ORVANTConfiguration.xml",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ORVANTConfiguration>\r\n"
                           "</ORVANTConfiguration>\r\n");
        installation.writeMode(xmlMode);
        for (std::int16_t n = 0; n <= kLastInstance; ++n) {
            const std::string instance = n == 0 ? std::string() : "INSTANCE_" + tarn::getInstanceString(n) + "/";
            installation.write(instance + "properties/terminal.properties", terminalProperties(n));
            installation.write(instance + "properties/terminal.emv.properties", lines({ "emv.kernel=4" }));
            installation.write(instance + "properties/language.properties", lines({ "en.01=AMOUNT #" }));
        }
    }

    // Records for instances 0 to 99 that the store knows nothing of yet, as after adding them.
    void loadUnsaved(tarn::ConfigSession& session) const
    {
        installation.startUp(session);
        session.instances.resize(kLastInstance + 1);
        session.instanceSections.clear();
        for (std::int16_t n = 0; n <= kLastInstance; ++n) {
            session.instanceSections.push_back(tarn::instanceSection(n));
            session.loadInstanceData(session.instances[static_cast<std::size_t>(n)], n);
        }
    }

    // Every file's inode: a file replaced atomically comes back with another one.
    std::map<std::string, ino_t> inodes() const
    {
        std::map<std::string, ino_t> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
            struct stat info
            {
            };
            if (entry.is_regular_file() && ::stat(entry.path().c_str(), &info) == 0) {
                files[entry.path().string()] = info.st_ino;
            }
        }
        return files;
    }

    static double replaced(const std::map<std::string, ino_t>& before, const std::map<std::string, ino_t>& after)
    {
        double count = 0;
        for (const auto& [path, inode] : after) {
            const auto old = before.find(path);
            count += (old == before.end() || old->second != inode) ? 1 : 0;
        }
        return count;
    }
};

// Times one operation per iteration on a scene prepared outside the timing.
void timeOperation(benchmark::State& state, bool xmlMode, const std::function<void(Scene&)>& prepare,
                   const std::function<bool(Scene&)>& operation)
{
    double files = 0;
    for (auto _ : state) {
        auto scene = std::make_unique<Scene>(xmlMode);
        prepare(*scene);
        const auto before = scene->inodes();
        const auto start = std::chrono::steady_clock::now();
        const bool ok = operation(*scene);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        files = Scene::replaced(before, scene->inodes());
        if (!ok || !scene->state.ui.messages.empty()) {
            state.SkipWithError("the operation did not succeed quietly");
        }
    }
    state.counters["files_replaced"] = files;
}

void firstOk(Scene& scene)
{
    tarn::ConfigSession session;
    scene.loadUnsaved(session);
    tarn::runOkSequence(session);
}

// Times an operation on a session loaded after a first OK, outside the timing, as the window has it.
void timeOnLoadedSession(benchmark::State& state, bool xmlMode,
                         const std::function<bool(tarn::ConfigSession&)>& operation)
{
    auto session = std::make_shared<tarn::ConfigSession>();
    timeOperation(
        state, xmlMode,
        [session](Scene& scene) {
            firstOk(scene);
            *session = tarn::ConfigSession();
            scene.installation.startUp(*session);
        },
        [session, &operation](Scene&) { return operation(*session); });
}

void registerFor(bool xmlMode)
{
    const std::string mode = xmlMode ? "/xml" : "/registry";
    const auto nothing = [](Scene&) {};
    const auto timed
        = [](benchmark::internal::Benchmark* benchmark) { benchmark->UseManualTime()->Unit(benchmark::kMillisecond); };
    timed(benchmark::RegisterBenchmark(("FirstOk" + mode).c_str(), [=](benchmark::State& state) {
        timeOperation(state, xmlMode, nothing, [](Scene& scene) {
            tarn::ConfigSession session;
            scene.loadUnsaved(session);
            return tarn::runOkSequence(session);
        });
    }));
    timed(benchmark::RegisterBenchmark(("Load" + mode).c_str(), [=](benchmark::State& state) {
        timeOperation(state, xmlMode, firstOk, [](Scene& scene) {
            tarn::ConfigSession session;
            scene.installation.startUp(session);
            return session.instances.size() == kLastInstance + 1u;
        });
    }));
    // tarnctl set (an OK that changes one value) and the dry runs of it and of tarnctl apply (an OK that
    // changes nothing, UnchangedOk below).
    for (const auto& [dryRun, oneChange] : { std::pair { false, true }, { true, false }, { true, true } }) {
        const std::string name = std::string(dryRun ? "DryRun" : "") + (oneChange ? "OneChangeOk" : "UnchangedOk");
        timed(benchmark::RegisterBenchmark((name + mode).c_str(), [=](benchmark::State& state) {
            timeOnLoadedSession(state, xmlMode, [dryRun, oneChange](tarn::ConfigSession& session) {
                tarn::SaveTransaction save(dryRun ? tarn::SaveTransaction::Kind::DryRun
                                                  : tarn::SaveTransaction::Kind::Save);
                if (oneChange) {
                    session.instances.at(50).timeout = "45";
                }
                const bool saved = tarn::runOkSequence(session);
                tarn::FailedWrites failures;
                save.finish(failures);
                return saved && failures.empty() && save.changes().empty() != oneChange;
            });
        }));
    }
    for (const bool apply : { false, true }) {
        timed(benchmark::RegisterBenchmark(
            ((apply ? "UnchangedApply" : "UnchangedOk") + mode).c_str(), [=](benchmark::State& state) {
                timeOnLoadedSession(state, xmlMode, [apply](tarn::ConfigSession& session) {
                    return apply ? tarn::runApplySequence(session) : tarn::runOkSequence(session);
                });
            }));
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (const bool xmlMode : { false, true }) {
        registerFor(xmlMode);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
