#ifndef VISDK_LOOKUP_CACHE_H
#define VISDK_LOOKUP_CACHE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <functional>
#include <vector>

namespace VISDKCppBridge {

// Memoised runtime lookups keyed by an owner (a class, an image, a method), a name and a number. A loaded class
// cannot change in a running domain, so an answer, found or missing, holds for the life of the process.
// Readers take no lock: entries are immutable once published, and outgrown tables are kept, never freed.
template <typename Value>
class LookupCache {
public:
    struct Entry {
        const void* owner;
        int number;
        size_t hash;
        std::string name;
        Value value;
    };

    LookupCache() { m_table.store(NewTable(64), std::memory_order_release); }
    LookupCache(const LookupCache&) = delete;
    LookupCache& operator=(const LookupCache&) = delete;

    // The entry for the key, made by `make()` the first time the key is asked for.
    template <typename Make>
    const Entry& Get(const void* owner, const char* name, int number, Make&& make)
    {
        std::string_view text(name);
        size_t hash = Hash(owner, text, number);
        if (const Entry* found = Find(m_table.load(std::memory_order_acquire), owner, text, number, hash))
            return *found;
        std::lock_guard<std::mutex> lock(m_write);
        Table* table = m_table.load(std::memory_order_relaxed);
        if (const Entry* found = Find(table, owner, text, number, hash))
            return *found;
        m_entries.emplace_back(new Entry{owner, number, hash, std::string(text), make()});
        Entry* entry = m_entries.back().get();
        if (m_entries.size() * 2 > table->size) {
            table = NewTable(table->size * 2);
            for (const std::unique_ptr<Entry>& each : m_entries)
                if (each.get() != entry)
                    Place(table, each.get());
            Place(table, entry);
            m_table.store(table, std::memory_order_release);
        } else {
            Place(table, entry);
        }
        return *entry;
    }

    size_t Size() const
    {
        std::lock_guard<std::mutex> lock(m_write);
        return m_entries.size();
    }

private:
    struct Table {
        size_t size;
        std::unique_ptr<std::atomic<Entry*>[]> slots;
    };

    static size_t Hash(const void* owner, std::string_view name, int number)
    {
        uint64_t hash = std::hash<std::string_view>()(name);
        hash ^= reinterpret_cast<uintptr_t>(owner) * 0x9E3779B97F4A7C15ULL;
        hash ^= static_cast<uint64_t>(static_cast<uint32_t>(number)) * 0xC2B2AE3D27D4EB4FULL;
        return static_cast<size_t>(hash ^ (hash >> 29));
    }

    Table* NewTable(size_t size)
    {
        m_tables.emplace_back(new Table{size, std::unique_ptr<std::atomic<Entry*>[]>(new std::atomic<Entry*>[size])});
        Table* table = m_tables.back().get();
        for (size_t i = 0; i < size; ++i)
            table->slots[i].store(nullptr, std::memory_order_relaxed);
        return table;
    }

    static const Entry* Find(const Table* table, const void* owner, std::string_view name, int number, size_t hash)
    {
        size_t mask = table->size - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Entry* entry = table->slots[i].load(std::memory_order_acquire);
            if (!entry)
                return nullptr;
            if (entry->hash == hash && entry->owner == owner && entry->number == number && entry->name == name)
                return entry;
        }
    }

    static void Place(Table* table, Entry* entry)
    {
        size_t mask = table->size - 1;
        size_t i = entry->hash & mask;
        while (table->slots[i].load(std::memory_order_relaxed))
            i = (i + 1) & mask;
        table->slots[i].store(entry, std::memory_order_release);
    }

    std::atomic<Table*> m_table{nullptr};
    mutable std::mutex m_write;
    std::vector<std::unique_ptr<Table>> m_tables;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

// A cache that lives until the process ends: never destroyed, so a thread still calling at exit finds it intact.
template <typename Value>
LookupCache<Value>& ProcessCache()
{
    static LookupCache<Value>* cache = new LookupCache<Value>();
    return *cache;
}

} // namespace VISDKCppBridge

#endif
