#include "SimFrame.h"
#include "TempFiles.h"
#include "TravelLimitsStore.h"

#include <QTemporaryDir>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using Frame = SimFrame;

TEST(ControlLayer, InitialExchangeReadsTwiceThenSendsTheVelocityWithoutTheHighBit)
{
    for (int resolution : {ControlState::lowResolution, ControlState::highResolution}) {
        Frame f;
        f.ops.state().resolution = resolution;
        f.placeController(Position{25000, -13, 12});
        f.state.stored[StoredSlots::Previous] = Position{7, 8, 9};
        EXPECT_EQ(f.ops.initialExchange(), LinkStatus::Ok);
        EXPECT_EQ(f.port.written, hex("630D" "630D" "56E8030D"));
        EXPECT_EQ(f.ui.panel, (Position{1000, -1, 0}));
        EXPECT_EQ(f.ops.state().displayed, (Position{1000, -1, 0}));
        EXPECT_EQ(f.ops.state().current, (Position{25000, -13, 12}));
        EXPECT_EQ(f.ops.state().lastDrawn, f.ops.state().current);
        EXPECT_EQ(f.state.stored[StoredSlots::Previous], (Position{7, 8, 9}));
    }
}

TEST(ControlLayer, AbsoluteMoveLocksWaitsReadsBackAndMovesTheMarker)
{
    Frame f;
    f.placeController(Position{2500, 0, 0});
    f.ops.initialExchange();
    f.port.written.clear();
    f.ui.log.clear();

    bool lockedDuringWait = false;
    f.link.setMessagePump([&] {
        lockedDuringWait = f.ops.state().busy && !f.ui.controlsEnabled;
        f.port.waitForData(1000);
        return true;
    });
    const qint64 start = f.clock.nowMs();
    EXPECT_EQ(f.ops.absoluteMove(Position{27500, 0, 0}), LinkStatus::Ok); // 1000 µm at 1000 µm/s
    EXPECT_TRUE(lockedDuringWait);
    EXPECT_FALSE(f.ops.state().busy);
    EXPECT_GE(f.clock.nowMs() - start, 1000 + 100);
    EXPECT_EQ(f.port.written, Commands::move(Position{27500, 0, 0}) + hex("630D630D"));
    EXPECT_EQ(f.state.stored[StoredSlots::Previous], (Position{100, 0, 0}));
    EXPECT_EQ(f.ui.log, (QStringList{"lock", "states", "unlock", "states", "panel 1100 0 0", "panel 1100 0 0",
                                     "marker 2500 -> 27500"}));
    EXPECT_EQ(f.ops.state().lastDrawn, (Position{27500, 0, 0}));
    EXPECT_EQ(f.ops.state().displayed, (Position{1100, 0, 0}));
}

TEST(ControlLayer, PreviousPositionComesFromTheMarkerEvenForAMoveToTheSamePlace)
{
    Frame f;
    f.ops.state().lastDrawn = Position{250, -250, 0}; // the marker, not the controller
    EXPECT_EQ(f.ops.absoluteMove(Position{0, 0, 0}), LinkStatus::Ok);
    EXPECT_EQ(f.state.stored[StoredSlots::Previous], (Position{10, -10, 0}));
    EXPECT_EQ(f.ops.absoluteMove(Position{0, 0, 0}), LinkStatus::Ok);
    EXPECT_EQ(f.state.stored[StoredSlots::Previous], (Position{0, 0, 0}));
}

TEST(ControlLayer, StopEndsTheWaitAndTheReadBackShowsWhereTheControllerStopped)
{
    Frame f;
    int pumps = 0;
    f.link.setMessagePump([&] {
        f.port.waitForData(250);
        if (++pumps == 2)
            f.ops.stop();
        return true;
    });
    EXPECT_EQ(f.ops.absoluteMove(Units::micronsToMicrosteps(Position{10000, 0, 0})), LinkStatus::Ok);
    EXPECT_FALSE(f.ops.state().busy);
    EXPECT_TRUE(f.port.written.contains(hex("030D")));
    EXPECT_TRUE(f.port.written.endsWith(hex("630D630D")));
    EXPECT_GT(f.ops.state().current.x, 0);
    EXPECT_LT(f.ops.state().current.x, 250000);
    EXPECT_EQ(f.ops.state().lastDrawn, f.ops.state().current);
    EXPECT_TRUE(f.ui.controlsEnabled);
}

TEST(ControlLayer, ACompletionByteLeftOverFromAStoppedMoveDoesNotEndTheNextMove)
{
    Frame f;
    f.port.inject(hex("0D")); // the late end of a move that Stop ended
    EXPECT_EQ(f.ops.absoluteMove(Units::micronsToMicrosteps(Position{1000, 0, 0})), LinkStatus::Ok);
    EXPECT_EQ(f.ops.state().displayed, (Position{1000, 0, 0}));
    EXPECT_EQ(f.port.controllerAt(), (Position{25000, 0, 0}));
}

TEST(ControlLayer, SilentControllerDuringReadBackLeavesTheReadOutAsItWas)
{
    qx410sim::Faults silent;
    silent.silent = true;
    silent.afterCommands = 2;
    Frame f(silent);
    f.ops.state().displayed = Position{5, 5, 5};
    f.ui.panel = Position{5, 5, 5};
    f.prompts.answers = {Prompts::Answer::Yes};
    // Recovery: Yes, setup confirmed, the port reopens; the program carries on.
    EXPECT_EQ(f.ops.getPosition(), LinkStatus::Ok);
    EXPECT_EQ(f.ops.getPosition(), LinkStatus::Ok);
    EXPECT_EQ(f.ops.getPosition(), LinkStatus::Recovered);
    EXPECT_EQ(f.prompts.shown.size(), 1);
    EXPECT_EQ(f.ops.state().displayed, (Position{0, 0, 0}));
}

TEST(ControlLayer, AMoveRequestedDuringAMoveIsRefusedAtOnceAndNeverQueued)
{
    Frame f;
    bool refused = false;
    f.link.setMessagePump([&] {
        if (!refused)
            refused = !f.ops.requestMove(Position{500, 0, 0});
        f.port.waitForData(1000);
        return true;
    });
    LinkStatus status = LinkStatus::Failed;
    EXPECT_TRUE(f.ops.requestMove(Position{2500, 0, 0}, &status));
    EXPECT_EQ(status, LinkStatus::Ok);
    EXPECT_TRUE(refused);
    EXPECT_EQ(f.port.written, Commands::move(Position{2500, 0, 0}) + hex("630D630D"));
}

TEST(ControlLayer, AMoveOutsideTheTravelLimitsIsRefusedBeforeAnythingIsSentAndOneInsideAlwaysGoes)
{
    Frame f;
    f.placeController(Position{0, 0, -250000}); // below the floor already
    TravelLimits limits;
    limits.setRange(2, {-125000, std::nullopt});
    f.ops.setTravelLimits(limits);
    QString refusal;
    EXPECT_FALSE(f.ops.requestMove(Position{0, 0, -125001}, nullptr, &refusal));
    EXPECT_EQ(refusal, f.ops.limitRefusal(Position{0, 0, -125001}));
    EXPECT_TRUE(refusal.startsWith(QStringLiteral("Z = -5000.04 µm lies below the Z floor")));
    EXPECT_TRUE(f.port.written.isEmpty());
    LinkStatus status = LinkStatus::Failed;
    EXPECT_TRUE(f.ops.requestMove(Position{0, 0, -125000}, &status, &refusal)); // back up to the floor
    EXPECT_EQ(status, LinkStatus::Ok);
    EXPECT_EQ(f.port.controllerAt(), (Position{0, 0, -125000}));
}

TEST(ControlLayer, AMovePastItsTimeOutIsStoppedAndReadBack)
{
    Frame f;
    f.ops.setMoveTimeoutMs(2000);
    f.link.setMessagePump([&] {
        f.port.waitForData(250);
        return true;
    });
    EXPECT_EQ(f.ops.absoluteMove(Units::micronsToMicrosteps(Position{10000, 0, 0})), LinkStatus::TimedOut);
    EXPECT_FALSE(f.ops.state().busy);
    EXPECT_TRUE(f.port.written.endsWith(hex("030D630D630D")));
    EXPECT_GT(f.ops.state().displayed.x, 0);
    EXPECT_LT(f.ops.state().displayed.x, 10000);
}

TEST(ControlLayer, TheLimitsFileIsReplacedWholeAndOneThatCannotBeReadIsSaidSo)
{
    QTemporaryDir folder;
    const TravelLimitsStore store(folder.path());
    TravelLimits limits;
    QString error;
    EXPECT_EQ(store.load(&limits, &error), TravelLimitsStore::Read::Missing);
    limits.setRange(0, {-25, 25});
    ASSERT_TRUE(store.save(limits, &error)) << error.toStdString();
    TravelLimits read;
    EXPECT_EQ(store.load(&read, &error), TravelLimitsStore::Read::Ok);
    EXPECT_EQ(read, limits);

    struct Bad
    {
        QByteArray content;
        const char* reason;
    };
    const Bad bad[] = {{"X 1 0\n", "line 1: the lower limit lies above the upper one"},
                       {QByteArray(5000, '#'), "larger than 4096 bytes"}};
    for (const Bad& b : bad) {
        TempFiles::write(folder, "Qx410.limits", b.content);
        EXPECT_EQ(store.load(&read, &error), TravelLimitsStore::Read::Unreadable);
        EXPECT_EQ(error, QString::fromUtf8(b.reason));
        EXPECT_EQ(read, limits); // left as it was
    }
    QFile::remove(store.path());
    ASSERT_EQ(mkfifo(QFile::encodeName(store.path()).constData(), 0600), 0);
    EXPECT_EQ(store.load(&read, &error), TravelLimitsStore::Read::Unreadable); // never opened: it would hang
    EXPECT_EQ(store.unreadableText(error),
              store.path() + QStringLiteral(" cannot be read (not a regular file)."));
}

struct SpeedCase
{
    quint16 velocity;
    bool high;
    bool busy;
    const char* sent; // the velocity command; nullptr when refused
};

TEST(ControlLayer, ApplySpeedSendsTheWordWithTheResolutionBitOrRefusesWithoutChangingAnything)
{
    const SpeedCase cases[] = {
        {900, false, false, "5684030D"},  {1310, true, false, "561E850D"}, {6550, false, false, "5696190D"},
        {1311, true, false, nullptr},     {6551, false, false, nullptr},   {900, false, true, nullptr},
    };
    for (const SpeedCase& c : cases) {
        Frame f;
        f.ops.state().busy = c.busy;
        LinkStatus status = LinkStatus::Failed;
        EXPECT_EQ(f.ops.applySpeed(c.velocity, c.high, &status), c.sent != nullptr) << c.velocity;
        EXPECT_EQ(f.port.written, c.sent ? hex(c.sent) : QByteArray()) << c.velocity;
        EXPECT_EQ(f.ops.velocitySetting(), c.sent ? c.velocity : 1000) << c.velocity;
        EXPECT_EQ(f.ops.isHighResolution(), c.sent && c.high) << c.velocity;
        EXPECT_EQ(status, c.sent ? LinkStatus::Ok : LinkStatus::Failed) << c.velocity;
    }
}

} // namespace
