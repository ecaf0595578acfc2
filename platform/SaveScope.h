#pragma once

namespace orvant::platform {

// The save open on this thread, and which object holds each of its parts: the files it writes
// (WriteBatch), its registry values (RegistryBatch), the journal of its changes and the transaction
// around them. Each part object joins the thread's save on its creation: the first of its kind holds
// that part, and ends it (writes, stores or drops what it keeps); one created while another holds the
// part (a save inside a save: the OK sequence inside a command that also creates an instance) only
// joins, and leaves the decision to the holder. This is the one nesting of a save: no part keeps its own.
class SaveScope
{
public:
    enum class Part
    {
        Files,
        Registry,
        Journal,
        Transaction,
    };

    SaveScope(Part part, void* object);
    ~SaveScope();
    SaveScope(const SaveScope&) = delete;
    SaveScope& operator=(const SaveScope&) = delete;

    // This object holds its part of the save.
    bool holdsPart() const { return m_holds; }
    // Ends this object's hold: the part is free for the next save (a finished batch).
    void release();

    // The object holding the part of this thread's save, or nullptr when the part is not open.
    static void* holder(Part part);

private:
    Part m_part;
    bool m_holds = false;
};

} // namespace orvant::platform
