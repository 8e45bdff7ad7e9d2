// The spelling window: each word a scan reports, what is wrong with it, a field
// for its replacement and the main dictionary's suggestions, with Ignore, Ignore
// All, Change, Change All, Add, Suggest and Cancel. The scan is the caller's: it
// hands words over through a SpellWordSource and replaces them when asked.
#pragma once

#include <cstdint>

#include "platform/dialogs/dialogs.h"
#include "spelling/spell_engine.h"

// Why a word is reported, besides spell_check's answers.
constexpr int16_t kSpellRepeatedWord = 3;

struct SpellWordSource {
    void* context = nullptr;
    // The next word to report (Mac Roman, zero-terminated) and why: spell_check's
    // answer or kSpellRepeatedWord. False when the scan has reached its end.
    bool (*next_word)(void* context, char word[kSpellWordLimit + 1], int16_t* reason) = nullptr;
    // Puts the replacement (Mac Roman, zero-terminated, perhaps empty) in place
    // of the word last handed over.
    void (*replace_word)(void* context, const char* replacement) = nullptr;
};

// The spelling window while it is open, else null.
extern pf::DialogRef spell_dialog;

// Opens the spelling window on the words of the source and runs it until the
// user closes it. Without a main dictionary it only beeps.
void open_spell_dialog(const SpellWordSource& source);
