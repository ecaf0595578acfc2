#include "platform/FileSystem.h"

#include <algorithm>

namespace orvant::platform {

namespace {

// The tools have one window thread; a batch belongs to the thread that opened it.
struct BatchState
{
    int depth = 0;
    std::vector<std::string> files;
};

thread_local BatchState t_batch;

} // namespace

FlushBatch::FlushBatch()
{
    ++t_batch.depth;
}

FlushBatch::~FlushBatch()
{
    finish();
}

std::vector<std::string> FlushBatch::finish()
{
    if (m_finished) {
        return {};
    }
    m_finished = true;
    if (--t_batch.depth > 0) {
        return {};
    }
    std::vector<std::string> files;
    files.swap(t_batch.files);
    return detail::flushFiles(files);
}

namespace detail {

bool deferIntoBatch(std::string_view storedPath)
{
    if (t_batch.depth == 0) {
        return false;
    }
    if (std::find(t_batch.files.begin(), t_batch.files.end(), storedPath) == t_batch.files.end()) {
        t_batch.files.emplace_back(storedPath);
    }
    return true;
}

} // namespace detail
} // namespace orvant::platform
