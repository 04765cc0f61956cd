// Whole runs of the compiler on the built-in scenario: the files it leaves and
// what the compiled files hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/form1.h"
#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {

const std::vector<std::string> kSixFiles = {
    "Bresta_Vilcar_RX907_note.txt", "Bresta_Vilcar_RX907_rallentamenti.txt", "Bresta_Vilcar_RX907_scheda_treno.txt",
    "Bresta_Vilcar_linea.dat",      "Bresta_Vilcar_RX907.sim",              "Bresta_Vilcar_RX907.dat",
};

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Little-endian fields of the compiled files, read with bounds checks.
class Bytes {
public:
    explicit Bytes(const std::string& data) : data_(data) {}
    bool ok() const { return ok_; }
    size_t position() const { return pos_; }
    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    int16_t i16() { return static_cast<int16_t>(static_cast<uint16_t>(take(2))); }
    int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(take(4))); }
    std::string text(size_t n) {
        if (pos_ + n > data_.size()) {
            ok_ = false;
            return {};
        }
        std::string s = data_.substr(pos_, n);
        pos_ += n;
        return s;
    }

private:
    uint64_t take(size_t n) {
        if (pos_ + n > data_.size()) {
            ok_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (size_t k = 0; k < n; ++k) v |= uint64_t{static_cast<uint8_t>(data_[pos_ + k])} << (8 * k);
        pos_ += n;
        return v;
    }
    const std::string& data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// The grid file: 15-byte cell records.
std::vector<TrackCell> parse_grid(const std::string& file) {
    std::vector<TrackCell> cells;
    Bytes b(file);
    for (size_t i = 0; i < file.size() / 15; ++i) {
        TrackCell c;
        c.kind = b.u8();
        c.value1 = b.i16();
        c.value2 = b.i16();
        c.value3 = b.i16();
        c.value4 = b.i16();
        c.timeCode = b.u8();
        c.approachCode = b.u8();
        c.scenery = b.u8();
        c.aux1 = b.u8();
        c.aux2 = b.u8();
        c.aux3 = b.u8();
        cells.push_back(c);
    }
    return cells;
}

// The scenario file: 87 slots, each 34 bytes plus its label.
std::vector<ScenarioSlot> parse_scenario(const std::string& file, bool& whole) {
    std::vector<ScenarioSlot> slots;
    Bytes b(file);
    for (int i = 0; i < kScenarioSlots && b.ok(); ++i) {
        ScenarioSlot s;
        s.tag = b.u8();
        s.long1 = b.i32();
        s.long2 = b.i32();
        s.long3 = b.i32();
        s.flag = b.u8();
        s.label = b.text(static_cast<uint16_t>(b.i16()));
        s.int1 = b.i16();
        s.int2 = b.i16();
        s.int3 = b.i16();
        s.int4 = b.i16();
        s.int5 = b.i16();
        s.byte1 = b.u8();
        s.byte2 = b.u8();
        s.byte3 = b.u8();
        s.byte4 = b.u8();
        s.long4 = b.i32();
        slots.push_back(s);
    }
    whole = b.ok() && b.position() == file.size() && slots.size() == kScenarioSlots;
    return slots;
}

// One run of the built-in scenario, shared by the tests that only look at its output.
class BuiltInRun : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TestFolder>();
        form_ = std::make_unique<Form1>(folder_->path());
        const RunEnd end = run_to_end([] {
            form_->Form_Load();
            return kExitClean;
        });
        if (end.failure) runFailure_ = end.failure->what();
        else if (end.status != kExitClean) runFailure_ = "the run ended with status " + std::to_string(end.status);
        for (const std::string& name : kSixFiles)
            if (folder_->exists(name)) files_[name] = folder_->read(name);
        grid_ = parse_grid(files_["Bresta_Vilcar_RX907.dat"]);
        scenario_ = parse_scenario(files_["Bresta_Vilcar_RX907.sim"], scenarioWhole_);
    }
    void SetUp() override { ASSERT_EQ(runFailure_, "") << "the built-in run did not complete"; }
    static void TearDownTestSuite() {
        form_.reset();
        folder_.reset();
        files_.clear();
    }

    static std::unique_ptr<TestFolder> folder_;
    static std::unique_ptr<Form1> form_;
    static std::map<std::string, std::string> files_;
    static std::vector<TrackCell> grid_;
    static std::vector<ScenarioSlot> scenario_;
    static bool scenarioWhole_;
    static std::string runFailure_;
};

std::unique_ptr<TestFolder> BuiltInRun::folder_;
std::unique_ptr<Form1> BuiltInRun::form_;
std::map<std::string, std::string> BuiltInRun::files_;
std::vector<TrackCell> BuiltInRun::grid_;
std::vector<ScenarioSlot> BuiltInRun::scenario_;
bool BuiltInRun::scenarioWhole_ = false;
std::string BuiltInRun::runFailure_;

TEST_F(BuiltInRun, LeavesExactlyTheSixFilesWithoutError) {
    EXPECT_EQ(form_->errorCode, 0) << "document " << static_cast<int>(form_->errorDocument) << " line "
                                   << form_->errorLine << ": " << form_->errorDetail;
    EXPECT_EQ(folder_->list(), sorted(kSixFiles));
}

TEST_F(BuiltInRun, CompiledFileSizesAndLineDataStart) {
    EXPECT_EQ(files_["Bresta_Vilcar_RX907.dat"].size(), 33915u);
    const std::string& line = files_["Bresta_Vilcar_linea.dat"];
    EXPECT_EQ(line.size(), 2259964u);
    EXPECT_EQ(line.substr(0, 10), std::string("\x02\x00\x00\x00\x02\x00\x00\x00\x05\x00", 10));
    EXPECT_TRUE(scenarioWhole_);
}

TEST_F(BuiltInRun, HeaderSlotsAndReservedFields) {
    ASSERT_TRUE(scenarioWhole_);
    ASSERT_EQ(grid_.size(), 2261u);
    const std::string& gridFile = files_["Bresta_Vilcar_RX907.dat"];
    EXPECT_EQ(gridFile.substr(16, 4), std::string("\x01\x14\x9B\x09", 4));  // 5121 and 2459
    EXPECT_EQ(grid_[1].value1, 5121);
    EXPECT_EQ(grid_[1].value2, 2459);
    EXPECT_EQ(files_["Bresta_Vilcar_RX907.sim"].substr(0, 34), std::string(34, '\0'));

    const ScenarioSlot& general = scenario_[84];
    EXPECT_EQ(general.long1, 135);
    EXPECT_EQ(general.long2, 106000);
    EXPECT_EQ(general.long3, 8);
    const ScenarioSlot& route = scenario_[85];
    EXPECT_EQ(route.label, "Bresta_Vilcar");
    EXPECT_EQ(route.int1, 610);
    EXPECT_EQ(route.long4, 32647);
    const ScenarioSlot& trainSlot = scenario_[86];
    EXPECT_EQ(trainSlot.label, "RX907");
    EXPECT_EQ(trainSlot.int1, 300);
    EXPECT_EQ(trainSlot.int3, 9);
    EXPECT_EQ(trainSlot.int4, 37);
    EXPECT_EQ(trainSlot.int5, 0);
}

struct ProfileSpan {
    int first, last;
    bool speed;  // aux1, else aux3
    int value;
};

TEST_F(BuiltInRun, SpeedAndAdhesionProfiles) {
    ASSERT_EQ(grid_.size(), 2261u);
    const std::vector<ProfileSpan> spans = {{0, 126, true, 15}, {2070, 2120, true, 18}, {2121, 2257, true, 6}, {2258, 2260, true, 0},
                                            {0, 123, false, 100}, {2258, 2260, false, 0}};
    for (const ProfileSpan& s : spans)
        for (int c = s.first; c <= s.last; ++c)
            ASSERT_EQ(s.speed ? grid_[c].aux1 : grid_[c].aux3, s.value) << (s.speed ? "speed" : "adhesion") << " cell " << c;
}

struct StationExample {
    int slot;
    const char* label;
    int32_t long1, long2, long3, long4;
    uint8_t tag, byte2, byte3, byte4;
    int stopCell;
    // Approach codes of the four cells before the stop cell, nearest first.
    std::vector<int> approach;
};

TEST_F(BuiltInRun, Stations) {
    ASSERT_TRUE(scenarioWhole_);
    ASSERT_EQ(grid_.size(), 2261u);
    const std::vector<StationExample> stations = {
        {1, "BRESTA", -350, 350, 0, 34680, 4, 1, 0, 0, 6, {81, 82, 83, 84}},
        {4, "PIANCASTELLO", 18200, 18900, 18550, 35820, 4, 30, 0, 1, 377, {81, 82, 83, 84}},
        {24, "VILCAR P.NUOVA", 107200, 108150, 108000, 39600, 6, 0, 0, 1, 2162, {0, 0, 0, 0}},
    };
    for (const StationExample& e : stations) {
        SCOPED_TRACE(e.label);
        const ScenarioSlot& s = scenario_[e.slot];
        EXPECT_EQ(s.label, e.label);
        EXPECT_EQ(s.long1, e.long1);
        EXPECT_EQ(s.long2, e.long2);
        EXPECT_EQ(s.long3, e.long3);
        EXPECT_EQ(s.long4, e.long4);
        EXPECT_EQ(s.tag, e.tag);
        EXPECT_EQ(s.byte2, e.byte2);
        EXPECT_EQ(s.byte3, e.byte3);
        EXPECT_EQ(s.byte4, e.byte4);
        EXPECT_EQ(grid_[e.stopCell].kind, kStationStop);
        EXPECT_EQ(grid_[e.stopCell].value1, e.slot);
        for (size_t k = 0; k < e.approach.size(); ++k) {
            const int cell = e.stopCell - 1 - static_cast<int>(k);
            EXPECT_EQ(grid_[cell].approachCode, e.approach[k]) << "cell " << cell;
        }
    }
}

struct SignalExample {
    int metres;
    int cell;
    int value1, value2, value3, value4;
    int approachBase;  // codes base + 1 to base + 4 in cells 2, 4, 6, 8 before
};

TEST_F(BuiltInRun, Signals) {
    const std::string& gridFile = files_["Bresta_Vilcar_RX907.dat"];
    ASSERT_EQ(grid_.size(), 2261u);
    // The signal at 1550 m is the record at byte 480: kind, value1 to value4, timeCode.
    EXPECT_EQ(gridFile.substr(480, 10), std::string("\x01\x2B\x00\x0B\x00\x00\x00\x04\x00\x00", 10));
    const std::vector<SignalExample> signals = {
        {1550, 32, 43, 11, 0, 4, 40},
        {27600, 553, 43, 11, 0, 4, 40},
        {28800, 577, 32, 11, 0, 8, 80},
    };
    for (const SignalExample& e : signals) {
        SCOPED_TRACE(std::to_string(e.metres) + " m");
        const TrackCell& c = grid_[e.cell];
        EXPECT_EQ(c.kind, kSignal);
        EXPECT_EQ(c.value1, e.value1);
        EXPECT_EQ(c.value2, e.value2);
        EXPECT_EQ(c.value3, e.value3);
        EXPECT_EQ(c.value4, e.value4);
        EXPECT_EQ(c.timeCode, 0);
        for (int k = 1; k <= 4; ++k) EXPECT_EQ(grid_[e.cell - 2 * k].approachCode, e.approachBase + k);
    }
}

TEST_F(BuiltInRun, ASecondRunGivesTheSameBytes) {
    Form1 again(folder_->path());
    again.Form_Load();
    EXPECT_EQ(again.errorCode, 0);
    EXPECT_EQ(folder_->list(), sorted(kSixFiles));
    for (const std::string& name : kSixFiles) {
        ASSERT_TRUE(folder_->exists(name)) << name;
        EXPECT_TRUE(folder_->read(name) == files_[name]) << name << " differs";
    }
}

// The program itself, copied into an empty folder, compiles there and ends cleanly.
TEST(Program, RunsInItsOwnFolderAndLeavesTheSixFiles) {
    const std::string program = platform::join(platform::program_folder(), "scenario_compiler");
    ASSERT_TRUE(std::filesystem::exists(program)) << program;
    TestFolder folder;
    TestFolder logs;
    const std::string copy = folder.file("scenario_compiler");
    std::filesystem::copy_file(program, copy);
    const std::string command = "'" + copy + "' >'" + logs.file("output") + "' 2>&1 </dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << logs.read("output");
    std::vector<std::string> left = folder.list();
    left.erase(std::remove(left.begin(), left.end(), "scenario_compiler"), left.end());
    EXPECT_EQ(left, sorted(kSixFiles));
}

}  // namespace
