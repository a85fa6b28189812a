// The link's one rule for a failed exchange: it is tried again up to 16 times while its
// result still calls for it.
#pragma once

constexpr int kExchangeRepeats = 16;

// attempt(repeat) runs one try (repeat is false for the first) and returns its result;
// again(result) says whether that result is worth another try.
template <typename Attempt, typename Again>
int ExchangeWithRepeats(Attempt attempt, Again again) {
    int result = attempt(false);
    for (int repeat = 0; repeat < kExchangeRepeats && again(result); ++repeat) {
        result = attempt(true);
    }
    return result;
}
