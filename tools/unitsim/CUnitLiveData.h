// Live values of the simulated unit that move like those of a running engine:
// each step the revolutions swing up and down, injection times follow them,
// lambda and the probe wobble, the engine warms up and the clocks run.
#pragma once

#include "tools/unitsim/CUnitMemory.h"

#include <cstdint>

class CUnitLiveData {
public:
    // Writes the live blocks of the current step into `memory` and moves on.
    // Gas injection times are shown only while the unit runs on gas.
    void Step(CUnitMemory& memory);

    uint32_t StepCount() const { return m_step; }

private:
    void FillLiveBlock1(CUnitMemory& memory) const;
    void FillLiveBlock2(CUnitMemory& memory) const;

    uint32_t m_step = 0;
};
