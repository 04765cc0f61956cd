// The train the running-time model drives: the documents carry no traction
// data, so it comes from a train-model file (JSON, SI units, every key
// optional) or from the defaults below.
#pragma once

#include <optional>
#include <string>

// Every default is a regional electric unit from OSRD's open rolling-stock
// data (tests/data/rolling_stocks/realistic/emu-regional-train.json: 100 m,
// 260,000 kg, 160 km/h, 242,000 N, 1.8 MW, Davis A 2,288 N, B 68.33 N s/m,
// C 7.75 N s2/m2, rotating-mass factor 1.05, 0.5 m/s2), taken as four cars;
// the adhesion and the dwell are named where they are set.
struct TrainModel {
    double carMassKg = 65000.0;         // 260,000 kg / 4
    double carLengthM = 25.0;           // 100 m / 4
    double davisANPerCar = 572.0;       // 2,288 N / 4
    double davisBNsPerMPerCar = 17.08;  // 68.33 N s/m / 4
    double davisCNs2PerM2 = 7.75;       // per train
    double maxEffortN = 242000.0;       // starting effort
    double maxPowerW = 1800000.0;       // about 1.8 MW
    double maxSpeedMps = 44.44;         // 160 km/h
    double rotatingMassFactor = 1.05;
    // A usual dry-rail figure: the middle of the 0.2 to 0.4 found on dry,
    // clean rail (rail-traction.com, "What is low adhesion?"); scaled by the
    // cell's adhesion percent.
    double adhesionCoefficient = 0.3;
    double brakingMps2 = 0.5;  // service deceleration at a braked mass of 100 %
    double dwellS = 30.0;      // a stop at a regional station, the project's own choice
};

// The keys of a train-model file, each with the field it sets, what it
// means and why zero is refused (where it is): one table for the reader,
// the writer of the defaults and their tests.
struct TrainModelKey {
    const char* name;
    double TrainModel::*field;
    bool zeroRefused;  // the value divides, or a train without it never moves
};
extern const TrainModelKey kTrainModelKeys[12];

// A train-model file read, or why not: `error` names the file and the key.
struct TrainModelRead {
    std::optional<TrainModel> model;
    std::string error;
};

// Reads a train-model file's text; `file` is its name for the messages.
TrainModelRead read_train_model(const std::string& text, const std::string& file);

// Reads the train-model file at `path`: one that does not exist, is a
// folder or cannot be read is said as the documents are ("PATH does not
// exist"), a faulty one as read_train_model says it.
TrainModelRead read_train_model_file(const std::string& path);

// A train model written as a train-model file, every key, as JSON text.
std::string train_model_json(const TrainModel& model);
