#pragma once

#include "config_tool/session/ConfigSession.h"

namespace tarn {

// The write sequences behind the window's OK and Apply buttons, shared with the command-line front
// end. Collecting the shown instance's controls into its record is the caller's job and happens
// before.

// OK: saveAllInstances, then the base terminal.properties and language.properties of every instance
// (whatever the checks gave), then the configuration hash. Files that could not be written are listed
// in one message. Returns true when the program may end: every check passed and everything was
// written.
bool runOkSequence(ConfigSession& session);

// Apply: saveAllInstances and the configuration hash; the window stays open. Files that could not be
// written are listed in one message, as for OK. Returns whether everything passed and was written.
bool runApplySequence(ConfigSession& session);

// Lists files that could not be written in one message: "These files could not be written:", the stored
// paths one per line (or the system's message, where it is known), and "The configuration has not been
// saved completely." A save stopped by its backup says so instead, and that nothing was saved.
void reportFailedWrites(const FailedWrites& failures);

} // namespace tarn
