// The user for tests: records how the transfer choice was adjusted.
#pragma once

#include "link/IUnitPrompter.h"

#include <vector>

class CScriptedPrompter : public IUnitPrompter {
public:
    void AdjustTransferChoice(bool linkUp) override { adjustments.push_back(linkUp); }

    std::vector<bool> adjustments;
};
