#include "shell/ExitAnswer.h"

namespace {

constexpr std::intptr_t kIdOk = 1;

}  // namespace

bool ExitAnswerLeaves(std::intptr_t answer) {
    return answer == kIdOk;
}
