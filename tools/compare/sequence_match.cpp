#include "tools/compare/sequence_match.h"

#include <algorithm>

namespace velmora::tool {

namespace {

// How far one bisection searches (edit distance of its stretch) before it
// gives up: its cost grows with the square of this.
constexpr long kMaxSearchDepth = 4096;

class Matcher {
public:
    Matcher(const std::vector<Key>& a, const std::vector<Key>& b, Matches& out)
        : m_a(a), m_b(b), m_out(out) {}

    // Matches a[aLo, aHi) with b[bLo, bHi), appending pairs in order.
    void Match(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi) {
        while (aLo < aHi && bLo < bHi && m_a[aLo] == m_b[bLo])
            m_out.emplace_back(aLo++, bLo++);
        std::size_t aEnd = aHi;
        std::size_t bEnd = bHi;
        while (aLo < aEnd && bLo < bEnd && m_a[aEnd - 1] == m_b[bEnd - 1]) {
            --aEnd;
            --bEnd;
        }
        if (aLo < aEnd && bLo < bEnd)
            Bisect(aLo, aEnd, bLo, bEnd);
        for (std::size_t i = 0; aEnd + i < aHi; ++i)
            m_out.emplace_back(aEnd + i, bEnd + i);
    }

private:
    // Finds a point on a shortest edit path through the middle of the box
    // (searching forward from its start and backward from its end until
    // the two meet) and matches the two halves on either side of it.
    void Bisect(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi) {
        const long n = static_cast<long>(aHi - aLo);
        const long m = static_cast<long>(bHi - bLo);
        const long maxD = std::min((n + m + 1) / 2, kMaxSearchDepth);
        const long offset = maxD + 1;
        const long length = 2 * offset + 1;
        std::vector<long> forward(static_cast<std::size_t>(length), -1);
        std::vector<long> backward(static_cast<std::size_t>(length), -1);
        forward[static_cast<std::size_t>(offset + 1)] = 0;
        backward[static_cast<std::size_t>(offset + 1)] = 0;
        const long delta = n - m;
        const bool odd = (delta % 2) != 0;
        const auto A = [&](long i) { return m_a[aLo + static_cast<std::size_t>(i)]; };
        const auto B = [&](long j) { return m_b[bLo + static_cast<std::size_t>(j)]; };
        long k1start = 0, k1end = 0, k2start = 0, k2end = 0;
        for (long d = 0; d < maxD; ++d) {
            for (long k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
                const auto at = static_cast<std::size_t>(offset + k1);
                long x1 = (k1 == -d || (k1 != d && forward[at - 1] < forward[at + 1]))
                              ? forward[at + 1]
                              : forward[at - 1] + 1;
                long y1 = x1 - k1;
                while (x1 < n && y1 < m && A(x1) == B(y1)) {
                    ++x1;
                    ++y1;
                }
                forward[at] = x1;
                if (x1 > n) {
                    k1end += 2;
                } else if (y1 > m) {
                    k1start += 2;
                } else if (odd) {
                    const long k2 = offset + delta - k1;
                    if (k2 >= 0 && k2 < length && backward[static_cast<std::size_t>(k2)] != -1 &&
                        x1 >= n - backward[static_cast<std::size_t>(k2)]) {
                        return Split(aLo, aHi, bLo, bHi, x1, y1);
                    }
                }
            }
            for (long k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
                const auto at = static_cast<std::size_t>(offset + k2);
                long x2 = (k2 == -d || (k2 != d && backward[at - 1] < backward[at + 1]))
                              ? backward[at + 1]
                              : backward[at - 1] + 1;
                long y2 = x2 - k2;
                while (x2 < n && y2 < m && A(n - x2 - 1) == B(m - y2 - 1)) {
                    ++x2;
                    ++y2;
                }
                backward[at] = x2;
                if (x2 > n) {
                    k2end += 2;
                } else if (y2 > m) {
                    k2start += 2;
                } else if (!odd) {
                    const long k1 = offset + delta - k2;
                    if (k1 >= 0 && k1 < length && forward[static_cast<std::size_t>(k1)] != -1) {
                        const long x1 = forward[static_cast<std::size_t>(k1)];
                        const long y1 = offset + x1 - k1;
                        if (x1 >= n - x2)
                            return Split(aLo, aHi, bLo, bHi, x1, y1);
                    }
                }
            }
        }
        // Nothing in common, or too costly to find: the stretch stays unmatched.
    }

    void Split(std::size_t aLo, std::size_t aHi, std::size_t bLo, std::size_t bHi, long x, long y) {
        // An end of the box as the split would search the same box again.
        if ((x == 0 && y == 0) ||
            (x == static_cast<long>(aHi - aLo) && y == static_cast<long>(bHi - bLo)))
            return;
        const std::size_t aMid = aLo + static_cast<std::size_t>(x);
        const std::size_t bMid = bLo + static_cast<std::size_t>(y);
        Match(aLo, aMid, bLo, bMid);
        Match(aMid, aHi, bMid, bHi);
    }

    const std::vector<Key>& m_a;
    const std::vector<Key>& m_b;
    Matches& m_out;
};

}  // namespace

Matches MatchSequences(const std::vector<Key>& a, const std::vector<Key>& b) {
    Matches out;
    Matcher(a, b, out).Match(0, a.size(), 0, b.size());
    return out;
}

std::vector<Gap> GapsBetween(const Matches& matches, std::size_t aSize, std::size_t bSize) {
    std::vector<Gap> gaps;
    std::size_t a = 0;
    std::size_t b = 0;
    const auto close = [&](std::size_t aNext, std::size_t bNext) {
        if (aNext > a || bNext > b)
            gaps.push_back(Gap{a, aNext, b, bNext});
    };
    for (const auto& [i, j] : matches) {
        close(i, j);
        a = i + 1;
        b = j + 1;
    }
    close(aSize, bSize);
    return gaps;
}

}  // namespace velmora::tool
