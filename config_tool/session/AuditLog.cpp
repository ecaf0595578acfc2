#include "config_tool/session/AuditLog.h"

#include "config_tool/foundation/Globals.h"
#include "platform/DirectWrites.h"
#include "platform/Environment.h"
#include "platform/TextCodec.h"

#include <chrono>
#include <cstdio>

namespace tarn {

namespace {

AuditIdentity g_identity;

// Names from outside (user IDs, paths, registry names, backup IDs) must not break the line into fields.
std::string field(const std::string& text)
{
    return escapeControlCharacters(text);
}

std::string linePrefix(const std::string& time, int instance)
{
    return time + "\t" + field(g_identity.program) + "\t" + field(g_identity.user) + "\t"
        + field(auditIdentity().osUser) + "\t" + std::to_string(instance) + "\t";
}

} // namespace

void setAuditProgram(const std::string& program)
{
    g_identity.program = program;
}

void setAuditUser(const std::string& user)
{
    g_identity.user = user;
}

const AuditIdentity& auditIdentity()
{
    // The system's user is asked once, when the first line needs it (not at start-up): a first save logs
    // thousands of lines, and the user database may be a network service.
    if (g_identity.osUser.empty()) {
        g_identity.osUser = orvant::platform::currentUserName();
    }
    return g_identity;
}

std::string auditLogPath()
{
    return Globals::ensureInstallationFolder() + "\\logs\\configuration-audit.log";
}

std::string utcTimestamp()
{
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string auditLines(const std::vector<ShownChange>& changes, const std::string& time)
{
    std::string lines;
    for (const auto& change : changes) {
        lines += linePrefix(time, change.instance) + field(change.location) + "\t" + field(change.setting) + "\t"
            + quoteValue(change.before) + " -> " + quoteValue(change.after) + "\r\n";
    }
    return lines;
}

std::string auditEventLine(const std::string& event, int instance, const std::string& description,
                           const std::string& time)
{
    return linePrefix(time, instance) + "event\t" + field(event) + "\t" + field(description) + "\r\n";
}

orvant::platform::FileResult appendAuditLines(const std::string& lines)
{
    if (lines.empty()) {
        return { true, {} };
    }
    const std::string path = auditLogPath();
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    if (auto made = orvant::platform::createFolderNow(folder); !made.ok) {
        return made;
    }
    // A line torn by an earlier crash is ended first, so that these lines stay whole.
    return orvant::platform::appendToFile(path, orvant::platform::utf8ToAnsi(lines), "\r\n");
}

} // namespace tarn
