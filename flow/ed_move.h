// The move settings of a flow command (movement commands and the warp): 32 fields stored in the
// order of the file, M1-M32, and one named accessor per role the commands give them. Fields
// read as signed by the commands (angles, offsets) are kept as their stored width; the
// accessor says which.
#pragma once

#include <cstdint>

#include "records/data_file.h"

class cEdMove : public cDataFile {
public:
    // A new part: every field 0 except M5, M6, M7, M13, M16, M18 = 1, M22 = 10, M31 = 1.0.
    cEdMove();
    const RECORDLAYOUT& Layout() const override;
    // The body in the file's layout, then the defaults of fields older files lack.
    void Read(cRecordReader& reader) override;
    // The defaults of a new part.
    void SetDefaults();

    // ---- roles (the one place that says which field plays which part) ----
    uint8_t& MoveMode() { return m_byM1; }          // 0 by direction, 1 toward target coordinates (warp: warp mode)
    // Direction code 0-12 of the movement commands and the warp; the circle move reads it as its
    // turning direction (0 right, 1 left, 2 and 3 by the facing).
    uint8_t& DirectionCode() { return m_byM2; }
    uint16_t& Angle() { return m_wM3; }             // degrees, signed 16-bit; circle move: start angle
    uint16_t& AngleStep() { return m_wM4; }         // per clone value, signed 16-bit
    uint8_t& MirrorAngle() { return m_byM5; }       // 360 - angle for a mirrored placement
    uint8_t& MirrorX() { return m_byM6; }           // negate the X offset for a mirrored placement
    uint8_t& MirrorY() { return m_byM7; }           // negate the Y offset for a mirrored placement
    uint16_t& TargetXBlocks() { return m_wM8; }     // signed 16-bit
    uint16_t& TargetXDots() { return m_wM9; }       // signed 16-bit
    uint16_t& TargetYBlocks() { return m_wM10; }    // signed 16-bit
    uint16_t& TargetYDots() { return m_wM11; }      // signed 16-bit
    uint8_t& CoordMode() { return m_byM12; }        // 0 from the placement, 1 relative, 2 absolute, 3 screen
    uint8_t& StopAtTarget() { return m_byM13; }
    uint8_t& XOnly() { return m_byM14; }            // only the X axis moves (Y gets no velocity)
    uint8_t& YOnly() { return m_byM15; }            // only the Y axis moves (X gets no velocity)
    uint8_t& DistanceUnit() { return m_byM16; }     // 1 dots, otherwise half blocks
    uint8_t& FixFacing() { return m_byM17; }
    uint8_t& ComputeMode() { return m_byM19; }      // 0 none, 1 speed from time and distance, 2 time from speed
    uint8_t& Inertia() { return m_byM20; }
    uint8_t& KeepAnimation() { return m_byM21; }
    uint16_t& Speed() { return m_wM22; }            // tenths of a dot per frame
    uint16_t& SpeedStep() { return m_wM23; }        // per clone value
    uint16_t& Distance() { return m_wM24; }         // circle move: radius in half blocks; warp: distance
    uint16_t& DistanceStep() { return m_wM25; }     // per clone value (signed 16-bit)
    uint16_t& CircleEndAngle() { return m_wM27; }   // circle move only (signed 16-bit)
    uint16_t& CircleEndAngleStep() { return m_wM28; }  // circle move: per clone value (signed 16-bit)
    uint16_t& HomingDelay() { return m_wM27; }      // homing move only: "誘導性能の悪さ" 0-10
    uint16_t& HomingDelayStep() { return m_wM28; }  // per clone value
    uint16_t& SecondSpeed() { return m_wM30; }      // the largest inertial speed, tenths of a dot per frame
    double& AccelFactor() { return m_dM31; }        // inertia: the factor against the current motion
    uint8_t& SecondSpeedOn() { return m_byM32; }

    uint8_t m_byM1, m_byM2;
    uint16_t m_wM3, m_wM4;
    uint8_t m_byM5, m_byM6, m_byM7;
    uint16_t m_wM8, m_wM9, m_wM10, m_wM11;
    uint8_t m_byM12;
    uint8_t m_byM13, m_byM14, m_byM15, m_byM16, m_byM17, m_byM18, m_byM19;
    uint8_t m_byM20, m_byM21;
    uint16_t m_wM22, m_wM23, m_wM24, m_wM25;
    uint8_t m_byM26;
    uint16_t m_wM27, m_wM28;
    uint8_t m_byM29;
    uint16_t m_wM30;
    double m_dM31;
    uint8_t m_byM32;

private:
    struct BuildTag {};
    explicit cEdMove(BuildTag);
    // Clear, then the fields whose new value is not 0.
    void ApplyDefaults();
    // A new part of the current data version, made once: every new part is a copy of it.
    static const cEdMove& Prototype();
};
