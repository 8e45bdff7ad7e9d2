// The design notes' numbered invariants, checked at run time when the build
// defines QUORVIN_CHECK_INVARIANTS (the CMake option of that name) and the
// process is a test program. Each module has a routine of its own that it
// calls at its state changes; a broken invariant ends the process at once,
// telling the module, the number and what was found.
#pragma once

#ifdef QUORVIN_CHECK_INVARIANTS
constexpr bool kInvariantsChecked = true;
#else
constexpr bool kInvariantsChecked = false;
#endif

// Tells which invariant broke (0: the module's list of states) and aborts.
[[noreturn]] void invariant_broken(const char* module, int number, const char* what);

// Whether the checks compiled in end the process: off until a test program
// turns them on, so that the program a person runs never ends over one.
bool invariant_checks_enforced();
void enforce_invariant_checks();

// Whether this process checks invariants (a checked build's test program):
// the watching that feeds a check is done only then.
inline bool invariants_checked() { return kInvariantsChecked && invariant_checks_enforced(); }

// Ends the process when the invariant does not hold (checked builds, in test
// programs).
inline void check_invariant(bool holds, const char* module, int number, const char* what) {
    if (!holds && invariants_checked()) invariant_broken(module, number, what);
}
