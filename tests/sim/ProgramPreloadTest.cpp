// qx410-sim --programs: command files stored as programs before serving.

#include "ProgramPreload.h"
#include "SimController.h"
#include "SimWire.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using qx410sim::ProgramPreload;
using qx410sim::SimController;
using namespace simtest;

struct PreloadFiles : testing::Test
{
    std::string write(const std::string& name, const std::string& text)
    {
        const std::string path = testing::TempDir() + "preload-" + name;
        std::ofstream(path, std::ios::binary) << text;
        written.push_back(path);
        return path;
    }
    ~PreloadFiles() override
    {
        for (const std::string& path : written)
            std::remove(path.c_str());
    }
    std::vector<std::string> written;
    SimController sim;
    ProgramPreload preload{sim};
};

TEST_F(PreloadFiles, StoresWhatADownloadWouldAndNumbersTheRest)
{
    const std::string three = write("three.dat", "Move,10,-20,3\r\nHigh, 500\r\nMove,0,0,0\r\nPause\r\n");
    EXPECT_EQ(preload.add("2=" + three), "");
    EXPECT_EQ(preload.add(three), ""); // the lowest program not yet stored
    Bytes expected;
    for (const Bytes& s : {step(SimController::kPowerUpVelocityWord, 250, -500, 75), step(0x8000 | 500, 0, 0, 0),
                           pauseStep()})
        expected.insert(expected.end(), s.begin(), s.end());
    for (int n : {1, 2}) {
        Bytes stored;
        for (const SimController::Step& s : sim.program(n))
            stored.insert(stored.end(), s.begin(), s.end());
        EXPECT_EQ(stored, expected) << "program " << n;
    }
    EXPECT_TRUE(sim.takeOutput(0).empty());
}

TEST_F(PreloadFiles, RefusesWhatCannotBeStored)
{
    const std::string pause = write("a.dat", "Pause\r\n");
    const std::string none = write("none.dat", "Status, 1\r\n");
    EXPECT_EQ(preload.add("11=" + pause), "program numbers are 1 to 10: 11=" + pause);
    EXPECT_EQ(preload.add(none), "no Move or Pause line in " + none);
    EXPECT_EQ(preload.add("/nonexistent/x.dat"), "cannot read /nonexistent/x.dat");
    for (int n = 1; n <= SimController::kProgramCount; ++n)
        EXPECT_EQ(preload.add(pause), "");
    EXPECT_EQ(preload.add(pause), "all ten programs are already preloaded: " + pause);
}

} // namespace
