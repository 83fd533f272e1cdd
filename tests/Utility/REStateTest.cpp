#include "REState.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

RETokenAction* makeAction()
{
    return new RETokenAction;
}

struct Spec {
    int16_t token;
    REActionFactory action;
    std::vector<std::pair<uint8_t, uint16_t>> transitions; // (symbol, target), symbols increasing
};

REState::List makeStates(int numSyms, const std::vector<Spec>& specs)
{
    REState::PrepareForNewStates(numSyms);
    REState::List states;
    for (const Spec& spec : specs) {
        auto state = std::make_unique<REState>(REPositionSet());
        state->SetToken(spec.token, spec.action);
        for (auto [symbol, target] : spec.transitions)
            state->AddTransition(symbol, target);
        states.push_back(std::move(state));
    }
    return states;
}

// Refinement done the slow way: split a partition while two of its states disagree, symbol by
// symbol, on their targets' partitions (no transition being a partition of its own).
std::vector<int> referencePartitions(int numSyms, const std::vector<Spec>& specs)
{
    const int n = int(specs.size());
    std::vector<int> partition(n);
    for (int i = 0; i < n; ++i) {
        partition[i] = i;
        for (int j = 0; j < i; ++j)
            if (specs[j].token == specs[i].token && specs[j].action == specs[i].action) {
                partition[i] = partition[j];
                break;
            }
    }
    auto target = [&](int s, int symbol) {
        for (auto [sym, t] : specs[s].transitions)
            if (sym == symbol)
                return partition[t];
        return -1;
    };
    for (bool changed = true; changed;) {
        changed = false;
        std::vector<int> next(n);
        for (int i = 0; i < n; ++i) {
            next[i] = i;
            for (int j = 0; j < i; ++j) {
                if (partition[j] != partition[i])
                    continue;
                bool same = true;
                for (int symbol = 0; symbol < numSyms && same; ++symbol)
                    same = target(i, symbol) == target(j, symbol);
                if (same) {
                    next[i] = next[j];
                    break;
                }
            }
        }
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                if ((partition[i] == partition[j]) != (next[i] == next[j]))
                    changed = true;
        partition = next;
    }
    return partition;
}

} // namespace

TEST(REState, RefinementFindsTheSameEquivalenceAsTheSlowWay)
{
    uint32_t seed = 12345;
    auto next = [&](int below) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % uint32_t(below));
    };
    for (int round = 0; round < 300; ++round) {
        const int numSyms = 1 + next(4);
        const int n = 1 + next(30);
        std::vector<Spec> specs(n);
        for (Spec& spec : specs) {
            const int16_t tokens[] = {-3, -3, 1, 2};
            spec.token = tokens[next(4)];
            spec.action = next(5) == 0 ? makeAction : nullptr;
            for (int symbol = 0; symbol < numSyms; ++symbol)
                if (next(3) != 0)
                    spec.transitions.push_back({uint8_t(symbol), uint16_t(next(n))});
        }
        REState::List states = makeStates(numSyms, specs);
        REState::MakeInitialPartitions(states);
        REState::ExpandPartitions(states);
        EXPECT_FALSE(REState::ExpandPartitions(states)) << "round " << round; // stable
        std::vector<int> reference = referencePartitions(numSyms, specs);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                ASSERT_EQ(reference[i] == reference[j], states[i]->GetPartition() == states[j]->GetPartition())
                    << "round " << round << " states " << i << ", " << j;
    }
}

TEST(REState, MergingAndPruningKeepTheEarliestLiveReachableStates)
{
    enum { a, b, c, d };
    REState::List states = makeStates(4, {
                                             {-3, nullptr, {{a, 1}, {c, 2}, {d, 5}}}, // 0 start
                                             {-3, nullptr, {{b, 3}}},                 // 1
                                             {-3, nullptr, {{b, 4}}},                 // 2 same as 1
                                             {1, nullptr, {}},                        // 3
                                             {1, nullptr, {}},                        // 4 same as 3
                                             {-3, nullptr, {}},                       // 5 leads nowhere
                                             {2, nullptr, {}},                        // 6 unreachable
                                         });
    REState::MakeInitialPartitions(states);
    EXPECT_EQ(3u, REState::gNumPartitionIDs);
    REState::ExpandPartitions(states);
    REState::MergePartitions(states);
    REState::MarkLiveStates(states);
    REState::MarkReachableStates(states);
    EXPECT_FALSE(states[5]->IsLive());
    EXPECT_FALSE(states[6]->IsReachable());
    EXPECT_EQ(3, REState::RenumberStates(states));

    const uint16_t none = REState::kNone;
    std::vector<uint16_t> ids;
    for (auto& state : states)
        ids.push_back(state->GetStateID());
    EXPECT_EQ((std::vector<uint16_t>{0, 1, none, 2, none, none, none}), ids);
    ASSERT_EQ(2u, states[0]->GetTransitions().size());
    EXPECT_EQ(a, states[0]->GetTransitions()[0].symbol);
    EXPECT_EQ(1, states[0]->GetTransitions()[0].target);
    EXPECT_EQ(c, states[0]->GetTransitions()[1].symbol);
    EXPECT_EQ(1, states[0]->GetTransitions()[1].target);
}

TEST(REState, TheStartStateStaysWhenNothingCanBeAccepted)
{
    REState::List states = makeStates(1, {{-3, nullptr, {{0, 1}}}, {-3, nullptr, {}}});
    REState::MakeInitialPartitions(states);
    REState::ExpandPartitions(states);
    REState::MergePartitions(states);
    REState::MarkLiveStates(states);
    REState::MarkReachableStates(states);
    EXPECT_EQ(1, REState::RenumberStates(states));
    EXPECT_EQ(0, states[0]->GetStateID());
    EXPECT_TRUE(states[0]->GetTransitions().empty());
}
