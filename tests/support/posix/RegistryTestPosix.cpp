#include "tests/support/Host.h"

// On a file of its own: every TestFolder links it, and it needs nothing else of the support.
namespace orvant::test::host {

// The hive files live in the test's own folder and go with it.
void beginRegistryTest() { }
void endRegistryTest() { }

} // namespace orvant::test::host
