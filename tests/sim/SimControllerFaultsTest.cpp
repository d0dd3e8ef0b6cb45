// Fault injection: silent, short and garbage replies, from a given command on.

#include "Harness.h"

#include <gtest/gtest.h>

#include <string>

using namespace simtest;
using qx410sim::Faults;

namespace {

enum class Kind { Silent, Short, Garbage };

Faults faultsOf(Kind kind, int afterCommands)
{
    Faults f;
    f.silent = kind == Kind::Silent;
    f.shortReplies = kind == Kind::Short;
    f.garbage = kind == Kind::Garbage;
    f.afterCommands = afterCommands;
    return f;
}

// What a spoiled reply must look like, given the intact one.
void expectSpoiled(Kind kind, const Bytes& got, const Bytes& intact)
{
    switch (kind) {
    case Kind::Silent:
        EXPECT_TRUE(got.empty());
        break;
    case Kind::Short:
        EXPECT_EQ(got, Bytes(intact.begin(), intact.begin() + static_cast<std::ptrdiff_t>(intact.size() / 2)));
        break;
    case Kind::Garbage:
        EXPECT_EQ(got.size(), intact.size());
        if (intact.size() > 4) { // a single random byte may by chance match
            EXPECT_NE(got, intact);
        }
        break;
    }
}

using FaultParam = std::tuple<Kind, int>;

class SimFaults : public testing::TestWithParam<FaultParam>
{
protected:
    Kind kind() const { return std::get<0>(GetParam()); }
    int after() const { return std::get<1>(GetParam()); }
};

TEST_P(SimFaults, FirstCommandsAnsweredThenRepliesSpoiled)
{
    Harness h(faultsOf(kind(), after()));
    // Move somewhere so the position reply is not all zeros.
    Harness reference;
    for (Harness* x : {&h, &reference}) {
        x->send(velocity(0x7FFF), 0);
        x->send(move(123456, -7, 0x0D0D), 0);
        x->outputAt(10'000);
    }
    const Bytes intact = reference.send(plain('c'), 10'000);
    ASSERT_EQ(intact.size(), 13u);
    // Two commands used so far; fill up to `after` with intact queries.
    int handled = 2;
    for (; handled < after(); ++handled)
        EXPECT_EQ(h.send(plain('c'), 10'000), intact) << "command " << handled + 1;
    for (int i = 0; i < 3; ++i)
        expectSpoiled(kind(), h.send(plain('c'), 10'000), intact);
    const Bytes status = h.send(plain('s'), 10'000);
    expectSpoiled(kind(), status, reference.send(plain('s'), 10'000));
}

TEST_P(SimFaults, CompletionByteSpoiledOnceFaultsApply)
{
    Harness h(faultsOf(kind(), after()));
    for (int i = 0; i < after(); ++i)
        h.send(plain('n'), 0);
    h.send(move(2500, 0, 0), 0);
    expectSpoiled(kind(), h.outputAt(100), kCompletion);
}

std::string faultCaseName(const testing::TestParamInfo<FaultParam>& info)
{
    const Kind kind = std::get<0>(info.param);
    const char* name = kind == Kind::Silent ? "Silent" : kind == Kind::Short ? "Short" : "Garbage";
    return std::string(name) + "After" + std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, SimFaults,
    testing::Combine(testing::Values(Kind::Silent, Kind::Short, Kind::Garbage), testing::Values(0, 3, 5)),
    faultCaseName);

TEST(SimFaultDetails, CompletionOfAnsweredMoveIsSpoiledOnlyAfterALaterCommand)
{
    Faults f;
    f.silent = true;
    f.afterCommands = 1;
    Harness h(f);
    h.send(move(2500, 0, 0), 0); // command 1: answered normally
    EXPECT_EQ(h.outputAt(100), kCompletion);
    EXPECT_TRUE(h.send(plain('n'), 100).empty()); // command 2: silent
    h.send(move(0, 0, 0), 100);
    EXPECT_TRUE(h.outputAt(1000).empty());
}

TEST(SimFaultDetails, StateStillChangesWhileSilent)
{
    Faults f;
    f.silent = true;
    Harness h(f);
    h.send(move(2500, 0, 0), 0);
    h.send(plain('b'), 0);
    EXPECT_TRUE(h.outputAt(1000).empty());
    EXPECT_TRUE(h.sim().relativeMode());
    EXPECT_EQ(h.positionAt(1000), (qx410sim::Triple{2500, 0, 0}));
    EXPECT_EQ(h.sim().commandsHandled(), 2u);
}

TEST(SimFaultDetails, GarbageIsRepeatable)
{
    Faults f;
    f.garbage = true;
    Harness a(f);
    Harness b(f);
    Bytes fromA;
    Bytes fromB;
    for (int i = 0; i < 4; ++i) {
        const Bytes ra = a.send(plain('s'), 0);
        fromA.insert(fromA.end(), ra.begin(), ra.end());
        const Bytes rb = b.send(plain('s'), 0);
        fromB.insert(fromB.end(), rb.begin(), rb.end());
    }
    EXPECT_EQ(fromA.size(), 4u * 33u);
    EXPECT_EQ(fromA, fromB);
    // Not one value repeated over and over.
    EXPECT_NE(Bytes(fromA.begin(), fromA.begin() + 33), Bytes(fromA.begin() + 33, fromA.begin() + 66));
}

TEST(SimFaultDetails, ShortAndGarbageTogetherGiveHalfLengthGarbage)
{
    Faults f;
    f.garbage = true;
    f.shortReplies = true;
    Harness h(f);
    const Bytes reply = h.send(plain('c'), 0);
    ASSERT_EQ(reply.size(), 6u);
    EXPECT_NE(reply, Bytes(6, 0));
}

TEST(SimFaultDetails, BadCountSpoilsOnlyTheProgramInfoCount)
{
    Faults f;
    f.badCount = true;
    f.afterCommands = 1;
    Harness h(f);
    Harness reference;
    for (Harness* x : {&h, &reference})
        x->send(store(2, {step(1000, 25, 0, 0)}), 0); // command 1: answered normally
    Bytes got = h.send(withProgram('u', 2), 1000);
    const Bytes intact = reference.send(withProgram('u', 2), 1000);
    ASSERT_EQ(got.size(), intact.size());
    EXPECT_EQ(got[0], 0xFF);
    EXPECT_EQ(got[1], 0xFF);
    EXPECT_EQ(Bytes(got.begin() + 2, got.end()), Bytes(intact.begin() + 2, intact.end()));
    EXPECT_EQ(h.send(plain('c'), 1000), positionReply(0, 0, 0));
}

TEST(SimFaultDetails, NoFaultsMeansIntactReplies)
{
    Faults f;
    f.afterCommands = 0;
    Harness h(f);
    EXPECT_EQ(h.send(plain('c'), 0), positionReply(0, 0, 0));
}

} // namespace
