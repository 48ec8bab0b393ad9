// tidewyn-diamondsample: writes the sample diamond file data/Sample.l20.
// Four diamonds, A to D, south of the Isle of Wight and off Selsey. Every position, direction and
// rate here is made up for trying the diamonds editor; none comes from a chart or any third-party
// data, and none is fit for navigation.
#include <array>
#include <cstdio>
#include <string>

#include "engine/recordfile.h"
#include "engine/records.h"

namespace {

constexpr size_t kHours = engine::TidalDiamondRecord::kHours;

// Degrees and whole minutes, as the editor shows and reads them back.
constexpr double DegreesMinutes(int degrees, int minutes) { return degrees + minutes / 60.0; }

// A diamond as typed: position in degrees and minutes (west negative), whole-degree directions,
// and spring rates in tenths of a knot, HW -6 to HW +6. The flood runs east, the ebb west, with a
// slack turn between.
struct Sample {
    const char* ref;
    double latitude, longitude;
    std::array<int, kHours> directions;
    std::array<int, kHours> springTenths;
};

constexpr Sample kSamples[] = {
    {"A",
     DegreesMinutes(50, 32),
     -DegreesMinutes(1, 15),
     {255, 262, 330, 68, 74, 77, 80, 82, 150, 250, 256, 258, 255},
     {14, 6, 2, 9, 18, 24, 26, 21, 3, 11, 22, 25, 17}},
    {"B",
     DegreesMinutes(50, 36),
     -DegreesMinutes(1, 2),
     {262, 268, 340, 72, 78, 82, 85, 86, 160, 258, 264, 266, 262},
     {16, 8, 3, 11, 21, 27, 30, 24, 4, 13, 24, 28, 19}},
    {"C",
     DegreesMinutes(50, 40),
     -DegreesMinutes(0, 49),
     {250, 255, 320, 65, 70, 73, 75, 77, 140, 245, 250, 252, 250},
     {12, 5, 2, 8, 15, 20, 22, 18, 2, 9, 18, 21, 14}},
    {"D",
     DegreesMinutes(50, 36),
     -DegreesMinutes(0, 33),
     {258, 265, 350, 75, 82, 86, 88, 90, 170, 262, 268, 270, 266},
     {10, 4, 1, 7, 13, 17, 19, 15, 2, 8, 16, 18, 12}},
};

engine::TidalDiamondRecord Diamond(const Sample& s) {
    engine::TidalDiamondRecord d;
    d.Latitude = static_cast<float>(s.latitude);
    d.Longitude = static_cast<float>(s.longitude);
    d.DiamondRef = s.ref;
    for (size_t h = 0; h < kHours; ++h) {
        const int spring = s.springTenths[h];
        // Neaps run at about half the spring rate, rounded to a tenth.
        d.HourStreams[h] = {static_cast<float>(s.directions[h]), static_cast<float>(spring) / 10.0f,
                            static_cast<float>((spring + 1) / 2) / 10.0f};
    }
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: tidewyn-diamondsample OUTFILE\n", stderr);
        return 2;
    }
    std::string bytes;
    for (const Sample& s : kSamples) bytes += engine::AsString(engine::EncodeDiamondRecord(Diamond(s)));
    if (engine::FileResult r = engine::ReplaceFile(argv[1], bytes); !r.ok()) {
        std::fputs(("tidewyn-diamondsample: " + r.message + "\n").c_str(), stderr);
        return 1;
    }
    return 0;
}
