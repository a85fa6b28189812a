// What the benches share: whether this build runs under a sanitizer, in which case
// their timings mean nothing and no limit is enforced.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define ZARVO_BENCH_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define ZARVO_BENCH_SANITIZED 1
#endif
#endif
