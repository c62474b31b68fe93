// The two small bars over a character that show a change of its hit points or skill points for
// two seconds: the frame, the fill up to the value and the part that changed, drawn from the
// gauge rows of the system sheet.
#pragma once

#include <cstdint>

// One gauge: frames left to show, the change still shown (gauge dots; negative for a loss),
// its shrink per frame, and the fill length in dots (0..50).
struct GAUGESTATE {
    int32_t nFrames;
    double dChange;
    double dStep;
    int32_t nLength;
};

// Gauge length in dots.
constexpr int kGaugeDots = 50;
// Frames a gauge shows after a change; the change bar shrinks during the first 60 of them.
constexpr int kGaugeFrames = 120;

// Starts a gauge for a change of `delta` on a value now at `value` of `maximum`: nothing for a
// change of 0 or a maximum of 0 or less.
void StartGauge(GAUGESTATE& gauge, int32_t value, int32_t maximum, int32_t delta);
// The sheet row of gauge step k (0 frame, 1 fill past the warning limit, 2 fill, 3 loss,
// 4 gain): from row 128 in steps of 16 on a sheet lower than 209 dots, else from row 208 in
// steps of 2.
int GaugeRow(int sheetHeight, int step);
