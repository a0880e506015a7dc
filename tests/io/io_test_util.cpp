#include "io_test_util.h"

#include "tests/support/temp_dir.h"

namespace velmora::test {

std::string DataFile(const std::string& name) {
    return testing_support::ReadFile(std::string(VELMORA_TEST_DATA) + "/io/" + name);
}

NoteSet DefaultNotes(const Rect& client) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        notes[static_cast<std::size_t>(n)] = {
            DefaultSpline(client, kDesignTargets[static_cast<std::size_t>(n)])};
    }
    return notes;
}

NoteSet MarkedNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        notes[static_cast<std::size_t>(n)] = {{Point{n, -n}}};
    }
    return notes;
}

}  // namespace velmora::test
