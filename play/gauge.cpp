// The hit-point and skill-point gauges of characters.
#include "play/gauge.h"

#include <algorithm>
#include <cmath>

#include "media/asset_table.h"
#include "media/blit.h"
#include "play/chara.h"
#include "play/chara_def.h"
#include "play/panel_draw.h"
#include "records/system_records.h"

namespace {

// The lists of the system limits the gauges compare with: 2 hit points, 3 skill points.
constexpr int kLimitHP = 2;
constexpr int kLimitSP = 3;

int ToInt(double v) {
    if (!(v == v)) return 0;
    return (int)std::clamp(v, -2147483648.0, 2147483647.0);
}

void DrawOne(const cChara& c, DDSURFACEDATA* target, GAUGESTATE& g, int second) {
    if (g.nFrames < 1 || c.m_bDead || !target) return;
    DDSURFACEDATA* sheet = &g_SurfaceData[kSlotIconSheet];
    const int x = (int)std::clamp<int64_t>((int64_t)c.m_nRectLeft + (c.m_nGraphWidth >> 1) - 25, -(1 << 20), 1 << 20);
    const int y = (int)std::clamp<int64_t>((int64_t)c.m_nRectTop - (second ? 7 : 3), -(1 << 20), 1 << 20);
    const int column = second ? 64 : 0;
    const int length = std::clamp(g.nLength, 0, kGaugeDots);
    DDBlt(target, x, y, kGaugeDots, 2, sheet, column, GaugeRow(sheet->nHeight, 0), DDBLT_TRANSPARENT);
    const int32_t value = second ? c.m_nSP : c.m_nHP;
    const int32_t maximum = second ? charadef::MaxSP(c.m_Def) : charadef::MaxHP(c.m_Def);
    const int fillStep = IsWithinSystemLimit(second ? kLimitSP : kLimitHP, value, maximum) ? 2 : 1;
    if (length > 0) DDBlt(target, x, y, length, 2, sheet, column, GaugeRow(sheet->nHeight, fillStep), DDBLT_TRANSPARENT);
    // The change, held inside the gauge.
    const int change = std::clamp(ToInt(g.dChange), -kGaugeDots, kGaugeDots);
    if (g.dChange >= 0) {
        if (change > 0)
            DDBlt(target, x + length - change, y, change, 2, sheet, column, GaugeRow(sheet->nHeight, 4),
                  DDBLT_TRANSPARENT);
    } else if (change < 0) {
        DDBlt(target, x + length, y, -change, 2, sheet, column, GaugeRow(sheet->nHeight, 3), DDBLT_TRANSPARENT);
    }
    --g.nFrames;
    if (g.nFrames >= 60)
        g.dChange -= g.dStep;
    else
        g.dChange = 0.0;
}

}  // namespace

void StartGauge(GAUGESTATE& gauge, int32_t value, int32_t maximum, int32_t delta) {
    if (delta == 0 || maximum <= 0) return;
    gauge.nFrames = kGaugeFrames;
    gauge.nLength = (int32_t)std::clamp<int64_t>((int64_t)value * kGaugeDots / maximum, 0, kGaugeDots);
    gauge.dChange = delta * (double)kGaugeDots / maximum;
    gauge.dStep = gauge.dChange * 0.016666666666666666;
}

int GaugeRow(int sheetHeight, int step) { return sheetHeight < 209 ? 128 + 16 * step : 208 + 2 * step; }

void cChara::StartHPGauge(int32_t delta) { StartGauge(m_HPGauge, m_nHP, charadef::MaxHP(m_Def), delta); }
void cChara::StartSPGauge(int32_t delta) { StartGauge(m_SPGauge, m_nSP, charadef::MaxSP(m_Def), delta); }
void cChara::DrawGaugeA(DDSURFACEDATA* target) { DrawOne(*this, target, m_HPGauge, 0); }
void cChara::DrawGaugeB(DDSURFACEDATA* target) { DrawOne(*this, target, m_SPGauge, 1); }
