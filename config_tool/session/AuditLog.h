#pragma once

#include "config_tool/session/ChangeSet.h"

#include <string>
#include <vector>

namespace tarn {

// The configuration's audit trail: one log per installation, logs\configuration-audit.log, to which every
// save appends one line per changed value, and instance creations, password changes and rollbacks one
// line each. A line has eight tab-separated fields:
//     TIME PROGRAM USER OS-USER INSTANCE LOCATION SETTING CHANGE
// TIME is UTC in ISO 8601 ("2026-12-07T04:12:33Z"); USER the configuration user who logged in; INSTANCE
// the instance number; LOCATION a file's stored path or a registry key; CHANGE is OLD -> NEW with both
// values quoted as quoteValue does. An event has LOCATION "event", its name as SETTING ("instance
// created", "password changed", "rollback") and a description as CHANGE. A password, or anything
// derived from one, is never logged; a user store is logged as a whole file, never key by key. Control
// characters in any field are escaped (\xNN), so that no text from outside can end a line or add a
// field. Lines are Windows-1252 with CR LF, like the installation's other text files. The log is not
// writable by other users, and an append cut short (a full disk) is taken back, so that the log always
// ends with a whole line.

struct AuditIdentity
{
    std::string program = "TarnConfig";
    std::string user; // the configuration user; empty until someone logged in
    std::string osUser; // the system's user this process runs as, asked for at first use
};

// Who the lines of this process are by: the program is named by its front end at start-up, the user by
// the login that let them in.
void setAuditProgram(const std::string& program);
void setAuditUser(const std::string& user);
const AuditIdentity& auditIdentity();

std::string auditLogPath(); // in the installation folder

// The current UTC time as the log and the backups write it.
std::string utcTimestamp();

// The log's lines for one save's changes, stamped with the given time.
std::string auditLines(const std::vector<ShownChange>& changes, const std::string& time);
std::string auditEventLine(const std::string& event, int instance, const std::string& description,
                           const std::string& time);

// Appends the lines in one write (see appendToFile), never through a link at the log's path. A failure
// is returned for the caller to report.
orvant::platform::FileResult appendAuditLines(const std::string& lines);

} // namespace tarn
