// Texts of other scripts than Roman between scripts and cells: UTF-8 in and
// out, each cell's text in the script of its font.
#include <array>
#include <string>

#include "files/entry_script.h"
#include "files/text_encoding.h"
#include "model/record_bytes.h"
#include "model/style_run_layout.h"
#include "platform/text/text.h"
#include "scripting/object_model.h"

namespace {

// A style block of one run setting the whole text in `font` and `size`.
MemoryRef one_run_styles(int16_t font, int16_t size) {
    std::array<uint8_t, 2 + kRunEntrySize> block{};
    store_i16(block.data(), 1);
    uint8_t* run = block.data() + 2;
    store_i16(run + kRunFont, font);
    store_i16(run + kRunFontSize, size);
    return Bytes2Memory(&mem_globals, block.data(), 1, int32_t(block.size()));
}

constexpr size_t kNamedCharacters = 8;  // a refusal names at most these

// The characters of the text that `script` cannot spell, each once, in order.
std::u32string characters_outside(std::string_view utf8, int16_t script) {
    std::u32string found;
    std::string ignored;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        char32_t c = 0xFFFD;  // stands for malformed UTF-8
        const bool decoded = pf::decode_utf8(utf8, i, c);
        if (!decoded) c = 0xFFFD;
        const bool spelled = decoded && pf::utf8_to_script(utf8.substr(start, i - start), script, ignored);
        if (!spelled && found.find(c) == std::u32string::npos) found.push_back(c);
    }
    return found;
}

// Why a text that `best` spells only in part is refused, naming the characters
// left out: those no installed script spells, else, when each is spelled by
// some script but no one script spells them all, those the best one lacks.
std::string refusal_of(std::string_view utf8, const pf::ScriptText& best) {
    const std::u32string unspelled = pf::unspelled_characters(utf8);
    if (!unspelled.empty())
        return "No installed script spells these characters:" + pf::code_point_names(unspelled, kNamedCharacters);
    return std::string("No one installed script spells the whole text; ") + pf::script_name(best.script) +
           " lacks these characters:" + pf::code_point_names(characters_outside(utf8, best.script), kNamedCharacters);
}

}  // namespace

pf::AEDesc cell_text_desc(std::string_view bytes, int16_t font) {
    pf::AEDesc out;
    if (pf::font_to_script(font) == pf::kScriptRoman) {
        pf::ae_create_desc(pf::kTypeText, bytes.data(), bytes.size(), out);
    } else {
        const std::string utf8 = encode_cell_text(bytes, font);
        pf::ae_create_desc(pf::kTypeUtf8Text, utf8.data(), utf8.size(), out);
    }
    return out;
}

pf::AEDesc cell_value_desc(const uint8_t* cell, std::string_view bytes, int16_t font) {
    if (value_script(cell, font) == pf::kScriptRoman) return cell_text_desc(bytes, pf::script_font(pf::kScriptRoman));
    const std::string utf8 = cell_field_utf8(cell, bytes, font);
    pf::AEDesc out;
    pf::ae_create_desc(pf::kTypeUtf8Text, utf8.data(), utf8.size(), out);
    return out;
}

pf::AEDesc text_desc(std::string_view utf8) {
    pf::AEDesc out;
    std::string roman;
    if (pf::utf8_to_script(utf8, pf::kScriptRoman, roman)) pf::ae_create_desc(pf::kTypeText, roman.data(), roman.size(), out);
    else pf::ae_create_desc(pf::kTypeUtf8Text, utf8.data(), utf8.size(), out);
    return out;
}

pf::OSErr entry_of_value(const pf::AEDesc& value, int16_t size, std::string& text, MemoryRef* styles,
                         std::string& refusal) {
    *styles = nullptr;
    if (value.kind != pf::AEDescKind::plain || value.type != pf::kTypeUtf8Text) {
        pf::AEDesc coerced;
        if (pf::OSErr err = pf::ae_coerce_desc(value, pf::kTypeText, coerced)) return err;
        text.assign(coerced.data.begin(), coerced.data.end());
        return pf::noErr;
    }
    const std::string utf8(value.data.begin(), value.data.end());
    pf::ScriptText spelled = pf::spell_in_a_script(utf8);
    if (spelled.unmapped > 0) {
        refusal = refusal_of(utf8, spelled);
        return pf::kAEEventFailedErr;
    }
    text = std::move(spelled.bytes);
    if (spelled.script != pf::kScriptRoman) {
        *styles = one_run_styles(pf::script_font(spelled.script), size);
        if (!*styles) return pf::kAEEventFailedErr;
    }
    return pf::noErr;
}
