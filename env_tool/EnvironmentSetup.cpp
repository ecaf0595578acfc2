#include "env_tool/EnvironmentSetup.h"

#include "env_tool/System.h"
#include "platform/TextCodec.h"

#include <exception>

namespace varset {

namespace {

bool contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

// Stores one variable; a failure is noted and otherwise ignored.
void write(System& system, SetupOutcome& outcome, const std::string& name, const std::string& text)
{
    try {
        system.setEnvironment(name, text);
        outcome.written.push_back(name);
    } catch (const std::exception&) {
        outcome.failed.push_back(name);
    }
}

} // namespace

SetupOutcome runEnvironmentSetup(const std::function<void()>& broadcast, const std::function<bool()>& startScript)
{
    SetupOutcome outcome;
    {
        System system(broadcast);
        const std::string path = orvant::platform::upperCaseAnsi(system.environment("Path"));
        const std::string javaHome = orvant::platform::upperCaseAnsi(system.environment("JAVA_HOME"));
        const std::string kelbrinHome = orvant::platform::upperCaseAnsi(system.environment("KELBRIN_HOME"));
        const std::string installDir = orvant::platform::upperCaseAnsi(system.environment("INSTALL_DIR"));

        if (installDir != kInstallDir) {
            write(system, outcome, "INSTALL_DIR", kInstallDir);
        }
        if (kelbrinHome != kKelbrinHome) {
            write(system, outcome, "KELBRIN_HOME", kKelbrinHome);
        }
        if (javaHome != kJavaHome) {
            write(system, outcome, "JAVA_HOME", kJavaHome);
        }

        std::string missing;
        for (const char* folder : kWindowsFolders) {
            if (!contains(path, folder)) {
                missing += folder;
            }
        }

        // Started from a program whose environment lacks INSTALL_DIR or JAVA_HOME, the expanded Path
        // keeps the references and would not show the entries; the stored form still does, and
        // without looking at it every such run would put the entries in front once more.
        const bool hasProductEntries = contains(path, kProductEntriesExpanded)
            || contains(orvant::platform::upperCaseAnsi(system.storedEnvironment("Path")), kProductEntries);
        if (!hasProductEntries) {
            write(system, outcome, "Path", kProductEntries + missing + path);
            missing.clear();
        }
        if (!missing.empty()) {
            write(system, outcome, "Path", missing + path);
        }
    }
    outcome.scriptStarted = startScript && startScript();
    return outcome;
}

} // namespace varset
