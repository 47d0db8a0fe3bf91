#include "model/OrderedMap.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, int>>;

Pairs Contents(const qvn::OrderedMap<int>& map) {
    Pairs out;
    for (const auto& [key, value] : map) {
        out.emplace_back(key, value);
    }
    return out;
}

TEST(OrderedMap, KeepsInsertionOrderThroughReplaceRemoveAndRename) {
    qvn::OrderedMap<int> map;
    map.set("b", 1);
    map.set("a", 2);
    map.set("c", 3);
    map.set("a", 4); // in place
    const auto [present, inserted] = map.insert("a", 9);
    EXPECT_FALSE(inserted); // present: unchanged
    EXPECT_EQ(*present, 4);
    EXPECT_TRUE(map.rename("b", "z")); // keeps its place
    EXPECT_FALSE(map.rename("missing", "y"));
    EXPECT_FALSE(map.rename("z", "c")); // target taken
    EXPECT_EQ(map.take("c"), 3);
    EXPECT_FALSE(map.take("c").has_value());
    map.set("c", 5); // back at the end
    EXPECT_EQ(Contents(map), (Pairs{{"z", 1}, {"a", 4}, {"c", 5}}));
    EXPECT_EQ(map.size(), 3u);
    EXPECT_EQ(*map.find("z"), 1);
    EXPECT_EQ(map.find("b"), nullptr);
    map.set("", 6); // the empty key is a key like any other
    EXPECT_TRUE(map.contains(""));
    map.clear();
    EXPECT_TRUE(map.empty());
    EXPECT_EQ(map.begin(), map.end());
}

// Random operations against a plain model: order, lookups and sizes agree
// after every step, through table growth, removals and compaction.
TEST(OrderedMap, AgreesWithAPlainModelUnderRandomOperations) {
    std::mt19937 random(12345);
    qvn::OrderedMap<int> map;
    Pairs model;
    const auto modelFind = [&](const std::string& key) {
        return std::find_if(model.begin(), model.end(),
                            [&](const auto& p) { return p.first == key; });
    };
    for (int step = 0; step < 20000; ++step) {
        // Few distinct keys, so that replacing and removing happen often.
        const std::string key = "k" + std::to_string(random() % 600);
        const int op = static_cast<int>(random() % 10);
        if (op < 5) {
            map.set(key, step);
            if (auto it = modelFind(key); it != model.end()) {
                it->second = step;
            } else {
                model.emplace_back(key, step);
            }
        } else if (op < 9) {
            const auto taken = map.take(key);
            const auto it = modelFind(key);
            ASSERT_EQ(taken.has_value(), it != model.end()) << step;
            if (it != model.end()) {
                EXPECT_EQ(*taken, it->second);
                model.erase(it);
            }
        } else {
            const std::string to = "r" + std::to_string(random() % 600);
            const auto it = modelFind(key);
            const bool possible = it != model.end() && modelFind(to) == model.end();
            ASSERT_EQ(map.rename(key, to), possible) << step;
            if (possible) {
                it->first = to;
            }
        }
        ASSERT_EQ(map.size(), model.size()) << step;
        if (step % 97 == 0) {
            ASSERT_EQ(Contents(map), model) << step;
            for (const auto& [k, v] : model) {
                ASSERT_NE(map.find(k), nullptr) << k;
                ASSERT_EQ(*map.find(k), v);
            }
        }
    }
    EXPECT_EQ(Contents(map), model);
}

TEST(OrderedMap, LargeTablesFindEveryKey) {
    qvn::OrderedMap<int> map;
    map.reserve(10);
    for (int i = 0; i < 50000; ++i) {
        map.set("key" + std::to_string(i), i);
    }
    for (int i = 0; i < 50000; i += 2) {
        ASSERT_TRUE(map.erase("key" + std::to_string(i)));
    }
    for (int i = 0; i < 50000; ++i) {
        const int* value = map.find("key" + std::to_string(i));
        if (i % 2 == 0) {
            ASSERT_EQ(value, nullptr) << i;
        } else {
            ASSERT_NE(value, nullptr) << i;
            ASSERT_EQ(*value, i);
        }
    }
    EXPECT_EQ(map.size(), 25000u);
}

} // namespace
