#include "HostResourcesMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>

namespace {

// Random inserts, assignments and erasures over a small key range, so that keys collide, runs
// of occupied slots form and erasures move keys back; each step is checked against std::map.
template <class Key>
void matchesAnOrderedMap(Key (*keyOf)(int), int range, unsigned seed)
{
    HostResourcesMap<Key, int*> map;
    std::map<Key, int*> reference;
    int values[8];
    std::mt19937 random(seed);
    for (int step = 0; step < 20000; ++step) {
        const Key key = keyOf(int(random() % unsigned(range)));
        int* value = &values[random() % 8];
        switch (random() % 4) {
        case 0:
            EXPECT_EQ(reference.emplace(key, value).second, map.Insert(key, value));
            break;
        case 1:
            reference[key] = value;
            map.Assign(key, value);
            break;
        default:
            reference.erase(key);
            map.Erase(key);
            break;
        }
        ASSERT_EQ(reference.size(), map.Size()) << step;
        if (step % 97 == 0)
            for (int k = 0; k < range; ++k) {
                auto it = reference.find(keyOf(k));
                ASSERT_EQ(it != reference.end() ? it->second : nullptr, map.Find(keyOf(k))) << step << " " << k;
            }
    }
    map.Clear();
    EXPECT_EQ(0u, map.Size());
    EXPECT_EQ(nullptr, map.Find(keyOf(0)));
}

} // namespace

TEST(HostResourcesMap, AgreesWithAnOrderedMapForIdsAndAddresses)
{
    // Ids: negative and positive, and multiples of 4096 that share their low bits.
    matchesAnOrderedMap<int16_t>([](int k) { return int16_t(k < 300 ? k - 150 : (k - 300) * 4096); }, 316, 1);
    // Addresses 16 bytes apart, as allocations lie.
    static char block[16 * 400];
    matchesAnOrderedMap<char*>([](int k) { return block + 16 * k; }, 400, 2);
}
