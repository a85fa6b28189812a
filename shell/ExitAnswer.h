// What the exit question's answer means for the program.
#pragma once

#include <cstdint>

// Whether the answer of the exit dialog's modal run lets the program end: only Exit does.
// Cancel, the close box and a dialog that could not be shown (-1) keep it running.
bool ExitAnswerLeaves(std::intptr_t answer);
