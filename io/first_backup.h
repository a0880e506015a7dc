#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/note_set.h"

namespace velmora {

// Whether the next save must keep the version of the file that was read as
// a backup. It need not when that file is exactly what the editor writes
// for the notes it made of it (line ends aside): then nothing is lost.
// That is told by printing those notes, which waits for the first save.
class FirstBackup {
public:
    // After a load: a backup is due for what was read; `matchable` when
    // the notes made of it may yet show it needs none.
    static FirstBackup Due(bool matchable);

    bool IsDue() const { return m_due; }
    // The version read is kept, or was replaced by one that is.
    void Done() {
        m_due = false;
        m_offered.reset();
    }

    // The notes the editor made of the version read, whose bytes are
    // `known`, and its client size. Called again before any save, the notes
    // given first are compared at once.
    void Offer(const NoteSet& notes, int32_t width, int32_t height,
               const std::optional<std::string>& known);
    // Right before a save that writes `text` for `notes`: compares what was
    // offered with `known`, reusing `text` when the notes are the same.
    void Settle(const NoteSet& notes, int32_t width, int32_t height, const std::string& text,
                const std::optional<std::string>& known);

private:
    struct Offered {
        NoteSet notes;
        int32_t width;
        int32_t height;
    };

    bool m_due = false;
    bool m_matchable = false;
    std::optional<Offered> m_offered;
};

}  // namespace velmora
