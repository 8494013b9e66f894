// SPDX-License-Identifier: Apache-2.0
// White balance, colour matrix, target colour space, processing level and
// flip state.
//
//   whiteBalanceCct   92   u32        copied, untested
//   whiteBalanceTint  96   f32        truncated toward zero to i32, untested
//   whiteBalanceRgb   100  3 x f32    copied bit for bit, untested
//   colorMatrix       128  3 x 4 f32  3x3 part stored when none of its nine is NaN;
//                                     the row offsets (fourth column) tested apart
//   targetColorSpace  188  u32        label; unknown stops (500)
//   processingLevel   192  u32        nearest float, untested
//   flipState         200  u32        label; unknown is recorded (0) and decoding goes on
#include <cstdint>
#include <limits>


#include "Decoding.h"
#include "Unwritten.h"
#include "Labels.h"

namespace Vmc::decoding {

namespace {

constexpr Label kTargetColorSpaces[] = {
    {0, "REC-709"},
    {1, "DCI-P3"},
    {2, "LOG-K"},
    {3, "VELL sensor RGB"},
    {4, "VELL film matrix"},
};

// Flip bits: 1 horizontal in camera, 4 horizontal by reader, 8 vertical by
// reader; only these combinations occur.
constexpr Label kFlipStates[] = {
    {0, "No flip"},
    {1, "H flip in camera"},
    {8, "V flip by reader"},
    {9, "H flip in camera and V flip by reader"},
    {12, "H+V flip by reader"},
};

// The tint truncated toward zero; a NaN or a value outside the 32-bit range
// gives the lowest 32-bit integer, without converting out of range.
std::int32_t truncatedTint(float tint)
{
    constexpr float kLowest = -2147483648.0f; // -2^31, exact in single precision
    constexpr float kBeyond = 2147483648.0f;  // 2^31
    if (!(tint >= kLowest && tint < kBeyond))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(tint);
}

} // namespace

Next decodeWhiteBalanceAndColor(Decoding& d)
{
    const HeaderView& h = d.header;
    VellMetadataContainer& c = d.out;

    c.whiteBalanceCct.set(h.read(VMC_AT(whiteBalanceCct)));
    c.whiteBalanceTint.set(truncatedTint(h.read(VMC_AT(whiteBalanceTint))));
    c.whiteBalanceRgb.set(h.read(VMC_AT(whiteBalanceRgb)));

    // The matrix is stored row by row: three coefficients, then the row's
    // offset.
    const std::size_t matrixBase = VMC_AT(colorMatrix).offset;
    float rows[3][4];
    for (int r = 0; r < 3; ++r) {
        for (int col = 0; col < 4; ++col)
            rows[r][col] = h.f32(matrixBase + sizeof(float) * (4 * r + col));
    }

    bool coefficientsWritten = true;
    bool offsetsWritten = true;
    for (const auto& row : rows) {
        for (int col = 0; col < 3; ++col)
            coefficientsWritten = coefficientsWritten && !unwritten(row[col]);
        offsetsWritten = offsetsWritten && !unwritten(row[3]);
    }
    if (coefficientsWritten) {
        MetaField<float>* const coefficients[3][3] = {
            {&c.colorMatrix00, &c.colorMatrix01, &c.colorMatrix02},
            {&c.colorMatrix10, &c.colorMatrix11, &c.colorMatrix12},
            {&c.colorMatrix20, &c.colorMatrix21, &c.colorMatrix22},
        };
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 3; ++col)
                coefficients[r][col]->set(rows[r][col]);
        }
    }
    if (offsetsWritten) {
        c.colorMatrixOffset0.set(rows[0][3]);
        c.colorMatrixOffset1.set(rows[1][3]);
        c.colorMatrixOffset2.set(rows[2][3]);
    }

    const std::uint32_t targetColorSpace = h.read(VMC_AT(targetColorSpace));
    const char* target = labelFor(kTargetColorSpaces, targetColorSpace);
    if (target == nullptr)
        return d.fail(Failure::UnknownTargetColorSpace, targetColorSpace);
    assignText(c.targetColorSpace, target);

    c.processingLevel.set(static_cast<float>(h.read(VMC_AT(processingLevel))));

    const std::uint32_t flipState = h.read(VMC_AT(flipState));
    const char* flip = labelFor(kFlipStates, flipState);
    if (flip == nullptr)
        return d.fail(Failure::UnknownFlipState, flipState); // recorded; decoding goes on
    assignText(c.flipState, flip);
    return Next::Continue;
}

} // namespace Vmc::decoding
