// SPDX-License-Identifier: Apache-2.0
// The factory calibrations of the colour correction matrices: 17 colour
// temperatures from 2000 K to 11000 K, one set for images taken without the
// ND filter and one for images taken through it. Each matrix takes camera
// native RGB to the wide-gamut working RGB; each row sums to 1 within 1e-6,
// so neutral stays neutral.
//
// The lists handed out hold 18 matrices: the 5100 K calibration stands twice
// in a row, as it always has. A table built from a list keeps one of them.
#include <VellMetadataContainer/ColorCorrectionMatrix.h>

#include <atomic>
#include <cstddef>
#include <iterator>

#include "CalibrationSets.h"

namespace Vmc {

namespace {

//     CCT       m00       m01       m02        m10       m11       m12        m20       m21       m22
constexpr ColorCorrectionMatrix kWithoutNd[] = {
    { 2000,  1.210510, -0.262282,  0.051773,  -0.121371,  1.051117,  0.070254,   0.001944, -0.300355,  1.298410},
    { 2100,  1.202154, -0.252435,  0.050281,  -0.110522,  1.039042,  0.071480,   0.007013, -0.298648,  1.291635},
    { 2200,  1.195132, -0.243392,  0.048261,  -0.101274,  1.030202,  0.071073,   0.010983, -0.295148,  1.284164},
    { 2400,  1.184217, -0.227449,  0.043233,  -0.086385,  1.019161,  0.067224,   0.016703, -0.285655,  1.268952},
    { 2600,  1.176497, -0.213934,  0.037437,  -0.074943,  1.013870,  0.061073,   0.020564, -0.275263,  1.254699},
    { 2900,  1.169237, -0.197282,  0.028045,  -0.062025,  1.012171,  0.049854,   0.024440, -0.260551,  1.236111},
    { 3200,  1.165689, -0.184001,  0.018311,  -0.052436,  1.014726,  0.037709,   0.027069, -0.247829,  1.220760},
    { 3500,  1.164751, -0.173288,  0.008537,  -0.045025,  1.019609,  0.025416,   0.029018, -0.237114,  1.208095},
    { 3900,  1.166292, -0.162017, -0.004275,  -0.037402,  1.028012,  0.009390,   0.031011, -0.225453,  1.194443},
    { 4300,  1.162697, -0.142148, -0.020548,  -0.032953,  1.031553,  0.001399,   0.032608, -0.224601,  1.191993},
    { 4700,  1.165366, -0.132799, -0.032567,  -0.027832,  1.040165, -0.012334,   0.034112, -0.216134,  1.182022},
    { 5100,  1.169736, -0.125665, -0.044071,  -0.023631,  1.049208, -0.025577,   0.035391, -0.209090,  1.173699},
    { 5600,  1.176639, -0.119021, -0.057618,  -0.019367,  1.060570, -0.041202,   0.036749, -0.201922,  1.165172},
    { 6500,  1.190760, -0.111827, -0.078933,  -0.013774,  1.079540, -0.065767,   0.038524, -0.192614,  1.154090},
    { 7500,  1.206597, -0.106314, -0.100283,  -0.009227,  1.099353, -0.090126,   0.040350, -0.185178,  1.144828},
    { 9000,  1.227895, -0.102511, -0.125383,  -0.004820,  1.123352, -0.118532,   0.042160, -0.178176,  1.136016},
    {11000,  1.250764, -0.100372, -0.150393,  -0.001199,  1.147714, -0.146515,   0.043813, -0.172586,  1.128773},
};

constexpr ColorCorrectionMatrix kWithNd[] = {
    { 2000,  1.158737, -0.169501,  0.010764,  -0.141800,  1.033172,  0.108628,  -0.007010, -0.482172,  1.489182},
    { 2100,  1.149670, -0.162385,  0.012715,  -0.127104,  1.016543,  0.110561,   0.006045, -0.481253,  1.475208},
    { 2200,  1.141972, -0.155434,  0.013462,  -0.114787,  1.004343,  0.110444,   0.016390, -0.477733,  1.461343},
    { 2400,  1.129640, -0.142430,  0.012789,  -0.095416,  0.988845,  0.106571,   0.031443, -0.466886,  1.435443},
    { 2600,  1.120310, -0.130848,  0.010538,  -0.080968,  0.980867,  0.100101,   0.041620, -0.454366,  1.412746},
    { 2900,  1.110238, -0.116108,  0.005870,  -0.065165,  0.976807,  0.088358,   0.051678, -0.436171,  1.384494},
    { 3200,  1.103484, -0.104130,  0.000646,  -0.053820,  0.977982,  0.075839,   0.058229, -0.420177,  1.361947},
    { 3500,  1.099061, -0.094418, -0.004642,  -0.045296,  0.981948,  0.063348,   0.062830, -0.406573,  1.343743},
    { 3900,  1.095700, -0.084250, -0.011450,  -0.036763,  0.989471,  0.047293,   0.067225, -0.391662,  1.324438},
    { 4300,  1.089558, -0.063730, -0.025828,  -0.031271,  0.991000,  0.040272,   0.066993, -0.379206,  1.312213},
    { 4700,  1.087166, -0.054962, -0.032205,  -0.025864,  0.999188,  0.026676,   0.069840, -0.368687,  1.298846},
    { 5100,  1.086572, -0.048464, -0.038109,  -0.021529,  1.007795,  0.013734,   0.072181, -0.359986,  1.287805},
    { 5600,  1.087504, -0.042624, -0.044881,  -0.017220,  1.018597, -0.001377,   0.074584, -0.351141,  1.276557},
    { 6500,  1.091772, -0.036881, -0.054891,  -0.011667,  1.036444, -0.024777,   0.077745, -0.339624,  1.261880},
    { 7500,  1.097955, -0.032532, -0.065423,  -0.007321,  1.055250, -0.047930,   0.080620, -0.330455,  1.249836},
    { 9000,  1.107385, -0.030206, -0.077178,  -0.003158,  1.077772, -0.074614,   0.083532, -0.321832,  1.238300},
    {11000,  1.118203, -0.029455, -0.088748,   0.000211,  1.100535, -0.100746,   0.086163, -0.315018,  1.228855},
};

constexpr std::size_t kCalibrationPoints = 17;
constexpr unsigned short kRepeatedCct = 5100;
constexpr std::size_t kListSize = kCalibrationPoints + 1;

static_assert(std::size(kWithoutNd) == kCalibrationPoints, "17 calibrations without ND filter");
static_assert(std::size(kWithNd) == kCalibrationPoints, "17 calibrations with ND filter");

template <std::size_t N>
constexpr bool ascendingWithOneRepeatedPoint(const ColorCorrectionMatrix (&set)[N])
{
    int repeated = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0 && set[i - 1].cct() >= set[i].cct())
            return false;
        repeated += set[i].cct() == kRepeatedCct;
    }
    return repeated == 1;
}
static_assert(ascendingWithOneRepeatedPoint(kWithoutNd) && ascendingWithOneRepeatedPoint(kWithNd),
              "calibrations ascend in CCT and hold the 5100 K point once");

std::atomic<int> listsFilled{0};

template <std::size_t N>
std::vector<ColorCorrectionMatrix> listFrom(const ColorCorrectionMatrix (&set)[N])
{
    std::vector<ColorCorrectionMatrix> list;
    list.reserve(kListSize);
    for (const ColorCorrectionMatrix& m : set) {
        list.push_back(m);
        if (m.cct() == kRepeatedCct)
            list.push_back(m);
    }
    listsFilled.fetch_add(1, std::memory_order_relaxed);
    return list;
}

} // namespace

// Each list is filled exactly once, inside the initialisation of a
// function-local static (concurrent first callers wait for it), and only read
// afterwards; every caller gets its own copy.
std::vector<ColorCorrectionMatrix> ColorCorrectionMatrixTable::noNDMatrices()
{
    static const std::vector<ColorCorrectionMatrix> list = [] { return listFrom(kWithoutNd); }();
    return list;
}

std::vector<ColorCorrectionMatrix> ColorCorrectionMatrixTable::NDMatrices()
{
    static const std::vector<ColorCorrectionMatrix> list = [] { return listFrom(kWithNd); }();
    return list;
}

namespace color {

int calibrationListsFilled()
{
    return listsFilled.load(std::memory_order_relaxed);
}

} // namespace color

} // namespace Vmc
