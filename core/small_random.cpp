// The function library's random numbers: a 16-bit combined multiplicative
// generator of three words, each stepped by Schrage's method.
#include "core/number_text.h"

RandomSeed g_seed;

namespace {

int16_t schrage_step(int16_t s, int16_t a, int16_t q, int16_t r, int16_t m) {
    int16_t next = static_cast<int16_t>(a * (s % q) - r * (s / q));
    return next < 0 ? static_cast<int16_t>(next + m) : next;
}

}  // namespace

void init_rand() {
    g_seed.s1 = static_cast<int16_t>(24239);
    g_seed.s2 = static_cast<int16_t>(55269 - 65536);
    g_seed.s3 = static_cast<int16_t>(60525 - 65536);
}

double random_small() {
    g_seed.s1 = schrage_step(g_seed.s1, 157, 206, 21, 32363);
    g_seed.s2 = schrage_step(g_seed.s2, 146, 217, 45, 31727);
    g_seed.s3 = schrage_step(g_seed.s3, 142, 222, 133, 31657);
    int16_t z = static_cast<int16_t>(g_seed.s1 - g_seed.s2);
    if (z > 706) z = static_cast<int16_t>(z - 32362);
    z = static_cast<int16_t>(z + g_seed.s3);
    if (z < 1) z = static_cast<int16_t>(z + 32362);
    return z * 3.0899e-5;
}
