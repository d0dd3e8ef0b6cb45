#include "SimFrame.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every change the layer announces, by name, in order.
struct Heard
{
    explicit Heard(ControlLayer& layer)
    {
        QObject::connect(&layer, &ControlLayer::busyChanged, [this](bool b) { names << (b ? "busy on" : "busy off"); });
        QObject::connect(&layer, &ControlLayer::moveLockChanged, [this](bool l) { names << (l ? "lock" : "unlock"); });
        QObject::connect(&layer, &ControlLayer::moveStarted, [this] { names << "moveStarted"; });
        QObject::connect(&layer, &ControlLayer::positionChanged, [this] { names << "position"; });
        QObject::connect(&layer, &ControlLayer::markerMoved, [this] { names << "marker"; });
        QObject::connect(&layer, &ControlLayer::settingsChanged, [this] { names << "settings"; });
        QObject::connect(&layer, &ControlLayer::linkRecovered, [this] { names << "recovered"; });
        QObject::connect(&layer, &ControlLayer::linkFailed, [this] { names << "failed"; });
        QObject::connect(&layer, &ControlLayer::runsEnded, [this] { names << "runsEnded"; });
        QObject::connect(&layer, &ControlLayer::limitsChanged, [this] { names << "limits"; });
    }
    QStringList names;
};

TravelLimits floorAt(std::int64_t microsteps)
{
    TravelLimits limits;
    limits.setRange(2, {microsteps, std::nullopt});
    return limits;
}

struct Row
{
    const char* operation;
    std::function<void(SimFrame&)> run;
    QStringList heard;
    bool silent = false; // the controller answers nothing
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.operation;
}

class ControlNotifications : public ::testing::TestWithParam<Row>
{
};

TEST_P(ControlNotifications, EachOperationAnnouncesWhatItChanged)
{
    const Row& row = GetParam();
    qx410sim::Faults faults;
    faults.silent = row.silent;
    SimFrame f(faults);
    f.prompts.answers = {Prompts::Answer::Yes}; // the recovery prompt
    Heard heard(f.ops);
    row.run(f);
    EXPECT_EQ(heard.names, row.heard);
}

INSTANTIATE_TEST_SUITE_P(
    ControlLayer, ControlNotifications,
    ::testing::Values(
        Row{"initialExchange", [](SimFrame& f) { f.ops.initialExchange(); }, {"position", "position"}},
        Row{"getPosition", [](SimFrame& f) { f.ops.getPosition(); }, {"position"}},
        Row{"absoluteMove", [](SimFrame& f) { f.ops.absoluteMove(Position{250, 0, 0}); },
            {"moveStarted", "lock", "busy on", "unlock", "busy off", "position", "position", "marker"}},
        Row{"requestMoveWhileBusy",
            [](SimFrame& f) {
                f.ops.state().busy = true;
                f.ops.requestMove(Position{250, 0, 0});
            },
            {}},
        Row{"markerRefresh", [](SimFrame& f) { f.ops.markerRefresh(); }, {"marker"}},
        Row{"stop", [](SimFrame& f) { f.ops.stop(); }, {"busy off"}},
        Row{"refreshControls", [](SimFrame& f) { f.ops.refreshControls(); }, {"busy off"}},
        Row{"setVelocitySetting", [](SimFrame& f) { f.ops.setVelocitySetting(900); }, {"settings"}},
        Row{"setVelocitySettingUnchanged", [](SimFrame& f) { f.ops.setVelocitySetting(1000); }, {}},
        Row{"setResolutionSetting", [](SimFrame& f) { f.ops.setResolutionSetting(ControlState::highResolution); },
            {"settings"}},
        Row{"applySpeed", [](SimFrame& f) { f.ops.applySpeed(900, true); }, {"settings"}},
        Row{"applySpeedRefused", [](SimFrame& f) { f.ops.applySpeed(2000, true); }, {}},
        Row{"restoreVelocity", [](SimFrame& f) { f.ops.restoreVelocity(); }, {}},
        Row{"refreshDisplay", [](SimFrame& f) { f.ops.refreshDisplay(); }, {}},
        Row{"setTravelLimits", [](SimFrame& f) { f.ops.setTravelLimits(floorAt(-25)); }, {"limits"}},
        Row{"setTravelLimitsUnchanged", [](SimFrame& f) { f.ops.setTravelLimits(TravelLimits()); }, {}},
        Row{"requestMoveOutsideTheLimits",
            [](SimFrame& f) {
                f.ops.setTravelLimits(floorAt(-25));
                f.ops.requestMove(Position{0, 0, -26});
            },
            {"limits"}},
        Row{"getPositionUnanswered", [](SimFrame& f) { f.ops.getPosition(); }, {"recovered"}, true}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.operation); });

} // namespace
