// The spelling window: each word a scan reports, what is wrong with it, a field
// for its replacement and the main dictionary's suggestions, with Ignore, Ignore
// All, Change, Change All, Add, Suggest and Cancel. It is a modeless window:
// documents come to the front over it and it stays open until it is closed.
// The scan is the caller's: it hands words over through a SpellWordSource and
// replaces them when asked.
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
    // Puts the replacement (UTF-8 as typed, zero-terminated, perhaps empty) in
    // place of the word last handed over.
    void (*replace_word)(void* context, const char* replacement) = nullptr;
    // Called once when the window closes: the context is not used after it.
    void (*finished)(void* context) = nullptr;
};

// The spelling window while it is open, else null.
extern pf::DialogRef spell_dialog;

// Opens the spelling window on the words of the source and shows the first
// one; the window then answers its buttons from the event loop. When the
// window is open already it is brought to the front and the source is not
// used. Without a main dictionary it only beeps.
void open_spell_dialog(const SpellWordSource& source);
