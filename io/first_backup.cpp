#include "io/first_backup.h"

#include <utility>

#include "io/xml/spline_writer.h"

namespace velmora {

FirstBackup FirstBackup::Due(bool matchable) {
    FirstBackup first;
    first.m_due = true;
    first.m_matchable = matchable;
    return first;
}

// Every point prints as a line of its own, so a file too short for its
// points (a compact one, say) is not printed.
void FirstBackup::Offer(const NoteSet& notes, int32_t width, int32_t height,
                        const std::optional<std::string>& known) {
    if (!m_due || !m_matchable || !known) {
        return;
    }
    std::size_t points = 0;
    for (const SplineList& splines : notes) {
        for (const Spline& spline : splines)
            points += spline.size();
    }
    if (points > known->size() / kMinPrintedPointBytes) {
        return;
    }
    if (m_offered &&
        SameButLineEnds(PrintSplines(m_offered->notes, m_offered->width, m_offered->height),
                        *known)) {
        Done();
        return;
    }
    m_offered = Offered{notes, width, height};
}

// Nothing but a load or a save changes the bytes known, and both settle or
// drop the offer first, so comparing now gives what comparing at once would.
void FirstBackup::Settle(const NoteSet& notes, int32_t width, int32_t height,
                         const std::string& text, const std::optional<std::string>& known) {
    if (!m_offered) {
        return;
    }
    const Offered offered = std::move(*m_offered);
    m_offered.reset();
    if (!m_due || !known) {
        return;
    }
    const bool same = offered.width == width && offered.height == height && offered.notes == notes;
    if (SameButLineEnds(same ? text : PrintSplines(offered.notes, offered.width, offered.height),
                        *known)) {
        m_due = false;
    }
}

}  // namespace velmora
