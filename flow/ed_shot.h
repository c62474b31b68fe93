// The shot settings of a flow command (shot, sword and the three summons): 60 fields stored in
// the order of the file, S1-S60, and one named accessor per role the shot, sword, summon and
// hit code give them. Fields the play code reads as signed keep their stored width; the
// accessor says which.
#pragma once

#include <cstdint>

#include "records/data_file.h"

class cEdShot : public cDataFile {
public:
    // A new part: every field 0 except S9, S17, S22, S25 = 1.
    cEdShot();
    const RECORDLAYOUT& Layout() const override;
    // The body in the file's layout, the defaults of fields older files lack, then the ranges.
    void Read(cRecordReader& reader) override;
    // The ranges first, then the body.
    void Write(cRecordWriter& writer) override;
    void SetDefaults();
    // The scale is at least 1; a hit effect outside the project's effects becomes 0.
    void Validate();

    // ---- roles (the one place that says which field plays which part) ----
    uint8_t& FormationCount() { return m_byS1; }      // objects per formation row, signed byte
    uint8_t& Formation() { return m_byS2; }           // formation 0-5
    uint16_t* FormationParams() { return m_awS3; }    // p1, p2, p3 (signed 16-bit)
    uint8_t& FormationCentre() { return m_byS4; }     // 0 the owner's target, 1 the hero, 2 the owner
    uint8_t& DirectionOption() { return m_byS5; }     // 0-12
    uint8_t& AimAtTarget() { return m_byS6; }
    uint16_t& Angle() { return m_wS7; }               // degrees, signed 16-bit
    uint16_t& AngleStep() { return m_wS8; }           // per formation call, signed 16-bit
    uint8_t& MirrorAngle() { return m_byS9; }         // 360 - angle when the owner faces right
    uint16_t& AngleSpread() { return m_wS10; }        // random spread, signed 16-bit
    uint8_t& RotationPlacement() { return m_byS11; }
    uint8_t& ExtraCalls() { return m_byS12; }         // the formation is called this + 1 times
    uint16_t& OffsetX() { return m_wS13; }            // signed 16-bit
    uint16_t& OffsetXStep() { return m_wS14; }
    uint16_t& OffsetY() { return m_wS15; }
    uint16_t& OffsetYStep() { return m_wS16; }
    uint8_t& MirrorOffsetX() { return m_byS17; }
    uint8_t& MirrorOffsetY() { return m_byS18; }
    uint16_t& Graphic() { return m_wS19; }            // shot graphic 0-119
    uint8_t& ZLayer() { return m_byS20; }      // 0-7
    uint8_t& Hidden() { return m_byS21; }
    uint8_t& GroupOfUser() { return m_byS22; } // the owner's side byte is the group
    uint8_t& Group() { return m_byS23; }       // shot group 0-7
    uint8_t& Scale() { return m_byS25; }       // at least 1
    uint8_t& Trajectory() { return m_byS27; }  // trajectory 0-9 of a shot
    uint8_t& SwordType() { return m_byS27; }   // sword type of a sword
    uint16_t* TrajectoryParams() { return m_awS28; }  // q1, q2, q3 (signed 16-bit)
    uint8_t& FollowScroll() { return m_byS29; }
    uint16_t& Speed() { return m_wS30; }              // tenths of a dot per frame
    uint16_t& SpeedStep() { return m_wS31; }
    uint8_t& AccelOn() { return m_byS32; }
    uint16_t& Accel() { return m_wS33; }              // signed 16-bit
    uint16_t& AccelStep() { return m_wS34; }          // signed 16-bit
    uint16_t& Range() { return m_wS35; }              // travel distance in half blocks
    uint8_t& RangeOn() { return m_byS36; }
    uint16_t& RangeStep() { return m_wS37; }
    uint8_t& StopAtRange() { return m_byS38; }
    uint8_t& LifeOn() { return m_byS39; }
    uint16_t& Life() { return m_wS40; }               // tenths of a second
    uint16_t& LifeStep() { return m_wS41; }
    uint8_t& PassBlocks() { return m_byS42; }
    uint8_t& PierceCharas() { return m_byS43; }
    uint8_t& PierceBlockCharas() { return m_byS44; }
    uint8_t& Clashes() { return m_byS45; }            // can be shot down by other groups' shots
    uint8_t& ClashStrength() { return m_byS46; }      // "消滅値", signed byte
    int32_t& Power() { return m_nS47; }
    uint8_t& Impact() { return m_byS49; }             // signed byte
    uint16_t& HitEffect() { return m_wS50; }
    uint8_t& ItemPalette() { return m_byS51; }        // 0 no item, 1 common palette, 2 the stage's
    uint16_t& ItemIndex() { return m_wS52; }
    uint8_t& BlockSummonMode() { return m_byS53; }
    uint8_t& SummonPalette() { return m_byS56; }      // 0 common palette, otherwise the stage's
    uint16_t& SummonIndex() { return m_wS57; }

    uint8_t m_byS1, m_byS2;
    uint16_t m_awS3[3];
    uint8_t m_byS4, m_byS5, m_byS6;
    uint16_t m_wS7, m_wS8;
    uint8_t m_byS9;
    uint16_t m_wS10;
    uint8_t m_byS11, m_byS12;
    uint16_t m_wS13, m_wS14, m_wS15, m_wS16;
    uint8_t m_byS17, m_byS18;
    uint16_t m_wS19;
    uint8_t m_byS20, m_byS21, m_byS22, m_byS23, m_byS24, m_byS25, m_byS26, m_byS27;
    uint16_t m_awS28[3];
    uint8_t m_byS29;
    uint16_t m_wS30, m_wS31;
    uint8_t m_byS32;
    uint16_t m_wS33, m_wS34, m_wS35;
    uint8_t m_byS36;
    uint16_t m_wS37;
    uint8_t m_byS38, m_byS39;
    uint16_t m_wS40, m_wS41;
    uint8_t m_byS42, m_byS43, m_byS44, m_byS45, m_byS46;
    int32_t m_nS47;
    uint16_t m_wS48;
    uint8_t m_byS49;
    uint16_t m_wS50;
    uint8_t m_byS51;
    uint16_t m_wS52;
    uint8_t m_byS53, m_byS54, m_byS55, m_byS56;
    uint16_t m_wS57;
    uint8_t m_byS58, m_byS59, m_byS60;

private:
    struct BuildTag {};
    explicit cEdShot(BuildTag);
    // Clear, then the fields whose new value is not 0.
    void ApplyDefaults();
    // A new part of the current data version, made once: every new part is a copy of it.
    static const cEdShot& Prototype();
};
