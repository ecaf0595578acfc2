#include "platform/FileSystem.h"

#include <map>

namespace orvant::platform {

namespace {

// A file as the batch knows it: read once, or written by the batch and not on the disk yet.
struct Known
{
    std::string storedPath;
    std::string bytes;
    bool pending = false; // to be written when the batch ends
    bool ownerOnly = false;
    std::size_t order = 0; // files are written in the order they were first written
};

// The tools have one window thread; a batch belongs to the thread that opened it.
struct BatchState
{
    int depth = 0;
    std::map<std::string, Known> files;
    std::size_t written = 0; // files marked for writing so far
};

thread_local BatchState t_batch;

} // namespace

WriteBatch::WriteBatch()
{
    ++t_batch.depth;
}

WriteBatch::~WriteBatch()
{
    finish();
}

std::vector<std::string> WriteBatch::finish()
{
    if (m_finished) {
        return {};
    }
    m_finished = true;
    if (--t_batch.depth > 0) {
        return {};
    }
    std::map<std::size_t, Known> inOrder;
    for (auto& [key, known] : t_batch.files) {
        if (known.pending) {
            inOrder.emplace(known.order, std::move(known));
        }
    }
    t_batch.files.clear();
    t_batch.written = 0;

    std::vector<std::string> failed;
    std::vector<std::string> written;
    for (const auto& [order, pending] : inOrder) {
        if (detail::replaceNow(pending.storedPath, pending.bytes, pending.ownerOnly).ok) {
            written.push_back(pending.storedPath);
        } else {
            failed.push_back(pending.storedPath);
        }
    }
    for (auto& path : detail::flushFiles(written)) {
        failed.push_back(std::move(path));
    }
    return failed;
}

namespace detail {

bool batchOpen()
{
    return t_batch.depth > 0;
}

void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, bool ownerOnly)
{
    Known& known = t_batch.files[std::move(key)];
    if (!known.pending) {
        known.order = t_batch.written++;
        known.storedPath = storedPath;
        known.pending = true;
    }
    known.bytes = bytes;
    known.ownerOnly = known.ownerOnly || ownerOnly;
}

void rememberRead(std::string key, std::string_view bytes)
{
    if (t_batch.depth > 0) {
        t_batch.files.try_emplace(std::move(key)).first->second.bytes = bytes;
    }
}

const std::string* bytesInBatch(const std::string& key)
{
    if (t_batch.depth == 0) {
        return nullptr;
    }
    const auto it = t_batch.files.find(key);
    return it == t_batch.files.end() ? nullptr : &it->second.bytes;
}

} // namespace detail
} // namespace orvant::platform
