#include "platform/FileSystem.h"

#include <algorithm>
#include <map>

namespace orvant::platform {

namespace {

// What the batch does with a path when it ends.
enum class Change
{
    None, // nothing: the file was only read
    Write,
    Remove,
    CreateFolder,
    RemoveFolder,
};

// A file or folder as the batch knows it: read once, or changed by the batch and not on the disk yet.
struct Known
{
    std::string storedPath;
    Change change = Change::None;
    std::string bytes; // a write's new bytes
    // What the disk holds, once the batch knows: a file it read, or one changes() looked at.
    bool diskKnown = false;
    std::optional<std::string> disk; // nullopt: no file, or one that could not be read
    bool diskUnreadable = false;
    bool ownerOnly = false;
    std::optional<unsigned> mode;
    bool changesAttributes = false;
    std::size_t order = 0; // changes are listed in the order they were first made
    // Files are replaced in the order they were last written: what a save writes last (the hash over
    // the configuration) reaches the disk after what it was computed from.
    std::size_t lastWrite = 0;
};

// What the batch holding the thread's files keeps (SaveScope.h).
struct BatchState
{
    std::map<std::string, Known> files;
    std::size_t changed = 0; // changes made so far, for their order
    // The keys of what the batch writes or creates, by their spelling in lower case (spelledAsKept).
    std::map<std::string, std::string> spellings;
};

thread_local BatchState t_batch;

bool isChange(const Known& known)
{
    return known.change != Change::None;
}

// Starts a change of a path the batch has not changed yet.
Known& startChange(std::string key, std::string_view storedPath)
{
    Known& known = t_batch.files[std::move(key)];
    if (!isChange(known)) {
        known.order = t_batch.changed++;
        known.storedPath = storedPath;
    }
    return known;
}

// The disk's bytes of a changed file, read once.
void learnDisk(Known& known)
{
    if (!known.diskKnown) {
        known.diskUnreadable = !detail::readOnDisk(known.storedPath, known.disk);
        if (known.diskUnreadable) {
            known.disk.reset();
        }
        known.diskKnown = true;
    }
}

bool unchangedOnDisk(const Known& known)
{
    return known.diskKnown && known.disk && *known.disk == known.bytes && !known.changesAttributes;
}

// The changed paths in the order of their changes.
std::vector<Known*> changesInOrder()
{
    std::vector<Known*> inOrder;
    for (auto& [key, known] : t_batch.files) {
        if (isChange(known)) {
            inOrder.push_back(&known);
        }
    }
    std::sort(inOrder.begin(), inOrder.end(), [](const Known* a, const Known* b) { return a->order < b->order; });
    return inOrder;
}

void clearBatch()
{
    t_batch.files.clear();
    t_batch.changed = 0;
    t_batch.spellings.clear();
}

std::string lowerCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

void rememberSpelling(const std::string& key)
{
    t_batch.spellings.emplace(lowerCase(key), key);
}

// The folder's own key followed by a separator: what every key below it starts with.
std::string prefixBelow(const std::string& folderKey, char separator)
{
    return !folderKey.empty() && folderKey.back() == separator ? folderKey : folderKey + separator;
}

bool batchIsOpen()
{
    return SaveScope::holder(SaveScope::Part::Files) != nullptr;
}

} // namespace

WriteBatch::WriteBatch() = default;

WriteBatch::~WriteBatch()
{
    finish();
}

std::vector<std::string> WriteBatch::finish()
{
    if (!m_scope.holdsPart()) {
        return {};
    }
    std::vector<Known> inOrder;
    for (Known* known : changesInOrder()) {
        inOrder.push_back(std::move(*known));
    }
    clearBatch();
    m_scope.release();

    // The batch is closed now: the file functions below act on the disk at once.
    std::vector<std::string> failed;
    std::vector<std::string> written;
    for (const Known& known : inOrder) {
        if (known.change == Change::CreateFolder && !createFolder(known.storedPath).ok) {
            failed.push_back(known.storedPath);
        }
    }
    std::vector<const Known*> writes;
    for (const Known& known : inOrder) {
        if (known.change == Change::Write && !unchangedOnDisk(known)) {
            writes.push_back(&known);
        }
    }
    std::sort(writes.begin(), writes.end(), [](const Known* a, const Known* b) { return a->lastWrite < b->lastWrite; });
    for (const Known* write : writes) {
        const Known& known = *write;
        if (detail::replaceNow(known.storedPath, known.bytes, known.ownerOnly, known.mode).ok) {
            written.push_back(known.storedPath);
        } else {
            failed.push_back(known.storedPath);
        }
    }
    for (const Known& known : inOrder) {
        if (known.change == Change::Remove && !removePath(known.storedPath).ok) {
            failed.push_back(known.storedPath);
        }
    }
    // A folder's removal was kept only once the folder was empty for the batch, so whatever it held
    // was removed before it: in that order the folders go, innermost first.
    for (const Known& known : inOrder) {
        if (known.change == Change::RemoveFolder && !removePath(known.storedPath).ok) {
            failed.push_back(known.storedPath);
        }
    }
    for (auto& path : detail::flushFiles(written)) {
        failed.push_back(std::move(path));
    }
    return failed;
}

std::vector<FileChange> WriteBatch::changes() const
{
    std::vector<FileChange> changes;
    if (!batchIsOpen()) {
        return changes;
    }
    // Reading a file's old bytes changes what the batch knows, not what it does: the state is the
    // thread's, not this object's.
    for (Known* changed : changesInOrder()) {
        Known& known = *changed;
        FileChange change;
        change.storedPath = known.storedPath;
        switch (known.change) {
        case Change::CreateFolder:
        case Change::RemoveFolder:
            change.folder = true;
            (known.change == Change::CreateFolder ? change.after : change.before) = std::string();
            break;
        case Change::Write:
            learnDisk(known);
            if (unchangedOnDisk(known)) {
                continue;
            }
            change.before = known.disk;
            change.after = known.bytes;
            change.unreadable = known.diskUnreadable;
            break;
        case Change::Remove:
            learnDisk(known);
            if (!known.disk && !known.diskUnreadable) {
                continue; // gone behind the batch: nothing left to remove
            }
            change.before = known.disk;
            change.unreadable = known.diskUnreadable;
            break;
        case Change::None:
            continue;
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

void WriteBatch::discard()
{
    if (m_scope.holdsPart()) {
        clearBatch();
        m_scope.release();
    }
}

namespace detail {

bool batchOpen()
{
    return batchIsOpen();
}

void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, bool ownerOnly)
{
    KeptWrite how;
    how.ownerOnly = ownerOnly;
    keepInBatch(std::move(key), storedPath, bytes, how);
}

void keepInBatch(std::string key, std::string_view storedPath, std::string_view bytes, const KeptWrite& how)
{
    rememberSpelling(key);
    Known& known = startChange(std::move(key), storedPath);
    known.change = Change::Write;
    known.bytes = bytes;
    known.lastWrite = t_batch.changed++;
    // A write that sets the attributes replaces what an earlier one set; a plain write keeps them.
    if (how.ownerOnly || how.mode) {
        known.ownerOnly = how.ownerOnly;
        known.mode = how.mode;
        known.changesAttributes = how.changesAttributes;
    }
}

void rememberRead(std::string key, std::string_view bytes)
{
    if (!batchIsOpen()) {
        return;
    }
    Known& known = t_batch.files.try_emplace(std::move(key)).first->second;
    if (!known.diskKnown) {
        known.disk = std::string(bytes);
        known.diskKnown = true;
    }
}

const std::string* bytesInBatch(const std::string& key)
{
    if (!batchIsOpen()) {
        return nullptr;
    }
    const auto it = t_batch.files.find(key);
    if (it == t_batch.files.end()) {
        return nullptr;
    }
    const Known& known = it->second;
    if (known.change == Change::Write) {
        return &known.bytes;
    }
    return known.change == Change::None && known.disk ? &*known.disk : nullptr;
}

InBatch lookInBatch(const std::string& key)
{
    if (!batchIsOpen()) {
        return InBatch::Unknown;
    }
    const auto it = t_batch.files.find(key);
    if (it == t_batch.files.end()) {
        return InBatch::Unknown;
    }
    switch (it->second.change) {
    case Change::Write:
        return InBatch::File;
    case Change::CreateFolder:
        return InBatch::Folder;
    case Change::Remove:
    case Change::RemoveFolder:
        return InBatch::Gone;
    case Change::None:
        break;
    }
    return it->second.disk ? InBatch::File : InBatch::Unknown;
}

void keepFolder(std::string key, std::string_view storedPath)
{
    rememberSpelling(key);
    Known& known = startChange(std::move(key), storedPath);
    known.change = Change::CreateFolder;
}

void keepRemoval(std::string key, std::string_view storedPath, bool folder)
{
    Known& known = startChange(std::move(key), storedPath);
    known.change = folder ? Change::RemoveFolder : Change::Remove;
    known.bytes.clear();
    known.ownerOnly = false;
    known.mode.reset();
    known.changesAttributes = false;
}

void dropFromBatch(const std::string& key)
{
    t_batch.files.erase(key);
    t_batch.spellings.erase(lowerCase(key));
}

std::vector<KeptEntry> keptIn(const std::string& folderKey, char separator)
{
    std::vector<KeptEntry> entries;
    if (!batchIsOpen()) {
        return entries;
    }
    const std::string prefix = prefixBelow(folderKey, separator);
    for (auto it = t_batch.files.lower_bound(prefix); it != t_batch.files.end(); ++it) {
        const auto& [key, known] = *it;
        if (key.compare(0, prefix.size(), prefix) != 0) {
            break;
        }
        const bool direct = key.size() > prefix.size() && key.find(separator, prefix.size()) == std::string::npos;
        if (direct && (known.change == Change::Write || known.change == Change::CreateFolder)) {
            entries.push_back({ key, known.storedPath });
        }
    }
    return entries;
}

std::string spelledAsKept(std::string path, char separator)
{
    if (!batchIsOpen() || t_batch.spellings.empty()) {
        return path;
    }
    // The path itself, or else the nearest folder above it.
    const std::string lower = lowerCase(path);
    for (std::size_t end = lower.size(); end > 0 && end != std::string::npos; end = lower.rfind(separator, end - 1)) {
        if (const auto it = t_batch.spellings.find(lower.substr(0, end)); it != t_batch.spellings.end()) {
            path.replace(0, end, it->second);
            break;
        }
    }
    return path;
}

} // namespace detail
} // namespace orvant::platform
