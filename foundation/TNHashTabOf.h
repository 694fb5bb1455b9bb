#pragma once
// Hash table of values keyed by NHTKey (the key's CRC-32 is the hash). Entries are
// also linked in insertion order, and listing follows that order: replacing the
// value of an existing key keeps its place, a new key goes to the end.
//
// Buckets are a power of two, chained; the table doubles when it holds more entries
// than buckets. Not thread-safe; callers that share a table guard it themselves.
#include "foundation/NHTKey.h"

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

template <class T>
class TNHashTabOf {
    struct SEntry {
        NHTKey key;
        T value;
        SEntry* nextInBucket = nullptr;
        SEntry* prev = nullptr;  // insertion order
        SEntry* next = nullptr;
    };

public:
    // A position in insertion order, for walking the entries without callbacks.
    class Cursor {
    public:
        explicit operator bool() const noexcept { return m_entry != nullptr; }
        const NHTKey& Key() const noexcept { return m_entry->key; }
        const T& Value() const noexcept { return m_entry->value; }
        T& Value() noexcept { return m_entry->value; }

    private:
        friend class TNHashTabOf;
        explicit Cursor(SEntry* e) noexcept : m_entry(e) {}
        SEntry* m_entry;
    };

    TNHashTabOf() = default;
    TNHashTabOf(const TNHashTabOf& other)
    {
        for (SEntry* e = other.m_first; e != nullptr; e = e->next)
            Set(e->key, e->value);
    }
    TNHashTabOf(TNHashTabOf&& other) noexcept { Swap(other); }
    TNHashTabOf& operator=(const TNHashTabOf& other)
    {
        if (this != &other) {
            TNHashTabOf copy(other);
            Swap(copy);
        }
        return *this;
    }
    TNHashTabOf& operator=(TNHashTabOf&& other) noexcept
    {
        if (this != &other) {
            Clear();
            Swap(other);
        }
        return *this;
    }
    ~TNHashTabOf() { Clear(); }

    size_t Count() const noexcept { return m_count; }
    bool IsEmpty() const noexcept { return m_count == 0; }

    T* Find(const NHTKey& key) noexcept
    {
        SEntry* e = Lookup(key);
        return e != nullptr ? &e->value : nullptr;
    }
    const T* Find(const NHTKey& key) const noexcept
    {
        const SEntry* e = const_cast<TNHashTabOf*>(this)->Lookup(key);
        return e != nullptr ? &e->value : nullptr;
    }

    // Replaces the value of an existing key in place, else appends a new entry.
    // False when the key is invalid or memory runs out (the table is then unchanged).
    bool Set(const NHTKey& key, T value)
    {
        if (!key.IsValid())
            return false;
        if (SEntry* e = Lookup(key)) {
            e->value = std::move(value);
            return true;
        }
        if (m_count >= m_buckets.size() && !Rehash(m_buckets.empty() ? 16 : m_buckets.size() * 2)) {
            if (m_buckets.empty())
                return false;  // cannot place anything; with buckets a longer chain still works
        }
        SEntry* e = new (std::nothrow) SEntry{key, std::move(value)};
        if (e == nullptr || !e->key.IsValid()) {
            delete e;
            return false;
        }
        SEntry*& head = m_buckets[e->key.Hash() & (m_buckets.size() - 1)];
        e->nextInBucket = head;
        head = e;
        e->prev = m_last;
        (m_last != nullptr ? m_last->next : m_first) = e;
        m_last = e;
        ++m_count;
        return true;
    }

    // Removes the entry of key, handing its value to *out when given. False if absent.
    bool Remove(const NHTKey& key, T* out = nullptr)
    {
        if (m_buckets.empty())
            return false;
        SEntry** link = &m_buckets[key.Hash() & (m_buckets.size() - 1)];
        while (*link != nullptr && (*link)->key != key)
            link = &(*link)->nextInBucket;
        SEntry* e = *link;
        if (e == nullptr)
            return false;
        *link = e->nextInBucket;
        (e->prev != nullptr ? e->prev->next : m_first) = e->next;
        (e->next != nullptr ? e->next->prev : m_last) = e->prev;
        --m_count;
        if (out != nullptr)
            *out = std::move(e->value);
        delete e;
        return true;
    }

    void Clear() noexcept
    {
        SEntry* e = m_first;
        while (e != nullptr) {
            SEntry* next = e->next;
            delete e;
            e = next;
        }
        m_first = m_last = nullptr;
        m_count = 0;
        m_buckets.clear();
    }

    Cursor First() const noexcept { return Cursor(m_first); }
    Cursor Next(Cursor c) const noexcept { return Cursor(c.m_entry != nullptr ? c.m_entry->next : nullptr); }

    // Calls f(key, value) for every entry in insertion order; f must not change the table.
    template <class F>
    void ForEach(F&& f) const
    {
        for (const SEntry* e = m_first; e != nullptr; e = e->next)
            f(e->key, e->value);
    }

private:
    SEntry* Lookup(const NHTKey& key) noexcept
    {
        if (m_buckets.empty())
            return nullptr;
        SEntry* e = m_buckets[key.Hash() & (m_buckets.size() - 1)];
        while (e != nullptr && e->key != key)
            e = e->nextInBucket;
        return e;
    }

    bool Rehash(size_t buckets)
    {
        std::vector<SEntry*> fresh;
        try {
            fresh.assign(buckets, nullptr);
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (SEntry* e = m_first; e != nullptr; e = e->next) {
            SEntry*& head = fresh[e->key.Hash() & (buckets - 1)];
            e->nextInBucket = head;
            head = e;
        }
        m_buckets.swap(fresh);
        return true;
    }

    void Swap(TNHashTabOf& other) noexcept
    {
        m_buckets.swap(other.m_buckets);
        std::swap(m_first, other.m_first);
        std::swap(m_last, other.m_last);
        std::swap(m_count, other.m_count);
    }

    std::vector<SEntry*> m_buckets;
    SEntry* m_first = nullptr;
    SEntry* m_last = nullptr;
    size_t m_count = 0;
};
