// The hive parser reads files an administrator may have edited, truncated or replaced: it must never
// crash, and whatever it read must write back to text that reads again, cleanly, as the same hive.
// The second property is what lets a writer keep every value it did not touch.
#include "platform/posix/RegeditFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using orvant::platform::RegeditFile;
    using orvant::platform::RegeditProblem;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RegeditFile parsed = RegeditFile::parse(text);
    const std::string written = parsed.serialise();

    std::vector<RegeditProblem> problems;
    const RegeditFile reparsed = RegeditFile::parse(written, &problems);
    if (!problems.empty() || !(reparsed == parsed) || reparsed.serialise() != written) {
        std::abort();
    }
    return 0;
}
