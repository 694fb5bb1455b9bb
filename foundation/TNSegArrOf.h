#pragma once
// Array grown in fixed segments of 2^Bits elements: element i lies in segment
// i >> Bits at position i & (2^Bits - 1). Growing past the first segment never moves
// existing elements, so appending to a large array costs no reallocation of its
// contents. The first segment alone starts small and doubles up to the full segment
// size, so that the many short arrays of a typical document do not each carry a
// full segment; while it grows its elements move.
//
// T must be default-constructible and move-assignable. Unused slots of the last
// segment hold default-constructed values, so T's default should own nothing.
// Not thread-safe; callers that share an array guard it themselves.
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T, unsigned Bits>
class TNSegArrOf {
    static_assert(Bits >= 1 && Bits <= 20, "segment size out of range");

public:
    static constexpr size_t kSegmentSize = size_t(1) << Bits;
    // Past this many elements growth is refused rather than attempted.
    static constexpr size_t kMaxCount = size_t(1) << 28;

    TNSegArrOf() = default;
    TNSegArrOf(const TNSegArrOf& other) { CopyFrom(other); }
    TNSegArrOf(TNSegArrOf&& other) noexcept
        : m_segments(std::move(other.m_segments)), m_count(other.m_count), m_firstCapacity(other.m_firstCapacity)
    {
        other.m_count = 0;
        other.m_firstCapacity = 0;
    }
    TNSegArrOf& operator=(const TNSegArrOf& other)
    {
        if (this != &other) {
            TNSegArrOf copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    TNSegArrOf& operator=(TNSegArrOf&& other) noexcept
    {
        if (this != &other) {
            m_segments = std::move(other.m_segments);
            m_count = other.m_count;
            m_firstCapacity = other.m_firstCapacity;
            other.m_count = 0;
            other.m_firstCapacity = 0;
        }
        return *this;
    }

    size_t Count() const noexcept { return m_count; }
    bool IsEmpty() const noexcept { return m_count == 0; }

    // Unchecked access; the index must be below Count().
    T& operator[](size_t i) noexcept { return m_segments[i >> Bits][i & (kSegmentSize - 1)]; }
    const T& operator[](size_t i) const noexcept { return m_segments[i >> Bits][i & (kSegmentSize - 1)]; }

    // Checked access: null for an index at or past the end.
    T* At(size_t i) noexcept { return i < m_count ? &(*this)[i] : nullptr; }
    const T* At(size_t i) const noexcept { return i < m_count ? &(*this)[i] : nullptr; }

    // Grows or shrinks to n elements; new elements are default values. False (and no
    // change) when memory runs out or n is past kMaxCount.
    bool Resize(size_t n)
    {
        if (n > kMaxCount)
            return false;
        if (n > m_count) {
            if (!EnsureSegments(n))
                return false;
        } else {
            for (size_t i = n; i < m_count; ++i)
                (*this)[i] = T();
            m_segments.resize(SegmentsFor(n));
            if (m_segments.empty())
                m_firstCapacity = 0;
        }
        m_count = n;
        return true;
    }

    bool Append(T value)
    {
        if (!Resize(m_count + 1))
            return false;
        (*this)[m_count - 1] = std::move(value);
        return true;
    }

    // Inserts before index i (i == Count() appends). False for i past the end.
    bool Insert(size_t i, T value)
    {
        if (i > m_count || !Resize(m_count + 1))
            return false;
        for (size_t k = m_count - 1; k > i; --k)
            (*this)[k] = std::move((*this)[k - 1]);
        (*this)[i] = std::move(value);
        return true;
    }

    // Removes up to n elements from start on, moving the rest down. Returns how many
    // were removed (0 when start is at or past the end).
    size_t RemoveRange(size_t start, size_t n)
    {
        if (start >= m_count)
            return 0;
        if (n > m_count - start)
            n = m_count - start;
        for (size_t k = start; k + n < m_count; ++k)
            (*this)[k] = std::move((*this)[k + n]);
        Resize(m_count - n);
        return n;
    }

    void Clear() noexcept
    {
        m_segments.clear();
        m_count = 0;
        m_firstCapacity = 0;
    }

private:
    static size_t SegmentsFor(size_t n) noexcept { return (n + kSegmentSize - 1) >> Bits; }

    static constexpr size_t kFirstMinimum = kSegmentSize < 4 ? kSegmentSize : 4;

    bool EnsureSegments(size_t n)
    {
        const size_t need = SegmentsFor(n);
        try {
            if (need > 0 && m_firstCapacity < kSegmentSize && (need > 1 || n > m_firstCapacity)) {
                size_t cap = m_firstCapacity == 0 ? kFirstMinimum : m_firstCapacity * 2;
                while (cap < kSegmentSize && cap < n)
                    cap *= 2;
                if (cap > kSegmentSize)
                    cap = kSegmentSize;
                auto first = std::make_unique<T[]>(cap);
                if (!m_segments.empty()) {
                    for (size_t i = 0; i < m_count; ++i)
                        first[i] = std::move(m_segments[0][i]);
                    m_segments[0] = std::move(first);
                } else {
                    m_segments.push_back(std::move(first));
                }
                m_firstCapacity = cap;
            }
            m_segments.reserve(need);
            while (m_segments.size() < need)
                m_segments.push_back(std::make_unique<T[]>(kSegmentSize));
        } catch (const std::bad_alloc&) {
            m_segments.resize(SegmentsFor(m_count));
            if (m_segments.empty())
                m_firstCapacity = 0;
            return false;
        }
        return true;
    }

    void CopyFrom(const TNSegArrOf& other)
    {
        if (!EnsureSegments(other.m_count))
            return;
        for (size_t i = 0; i < other.m_count; ++i)
            (*this)[i] = other[i];
        m_count = other.m_count;
    }

    std::vector<std::unique_ptr<T[]>> m_segments;
    size_t m_count = 0;
    size_t m_firstCapacity = 0;  // elements the first segment has room for
};
