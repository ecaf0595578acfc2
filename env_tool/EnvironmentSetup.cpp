#include "env_tool/EnvironmentSetup.h"

#include "env_tool/System.h"

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

std::string upperCase(std::string_view text)
{
    std::string upper(text);
    for (std::size_t i = 0; i < upper.size(); ++i) {
        auto& byte = reinterpret_cast<unsigned char&>(upper[i]);
        if (byte >= 'a' && byte <= 'z') {
            byte -= 0x20;
            continue;
        }
        if (i + 1 >= upper.size()) {
            break;
        }
        auto& next = reinterpret_cast<unsigned char&>(upper[i + 1]);
        if (byte == 0xC3 && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
            next -= 0x20; // à..þ without ÷
            ++i;
        } else if (byte == 0xC3 && next == 0xBF) {
            byte = 0xC5; // ÿ to Ÿ
            next = 0xB8;
            ++i;
        } else if (byte == 0xC5 && (next == 0xA1 || next == 0x93 || next == 0xBE)) {
            next -= 1; // š, œ, ž
            ++i;
        }
    }
    return upper;
}

SetupOutcome runEnvironmentSetup(const std::function<void()>& broadcast, const std::function<bool()>& startScript)
{
    SetupOutcome outcome;
    {
        System system(broadcast);
        const std::string path = upperCase(system.environment("Path"));
        const std::string javaHome = upperCase(system.environment("JAVA_HOME"));
        const std::string kelbrinHome = upperCase(system.environment("KELBRIN_HOME"));
        const std::string installDir = upperCase(system.environment("INSTALL_DIR"));

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
            || contains(upperCase(system.storedEnvironment("Path")), kProductEntries);
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
