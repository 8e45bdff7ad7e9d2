// Texts of other scripts than Roman between scripts and cells: UTF-8 in and
// out, each cell's text in the script of its font.
#include <string>

#include "files/entry_script.h"
#include "files/text_encoding.h"
#include "platform/text/text.h"
#include "scripting/object_model.h"

constexpr size_t kNamedCharacters = 8;  // a refusal names at most these

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

pf::OSErr entry_of_value(const pf::AEDesc& value, std::string& utf8, std::string& refusal) {
    if (value.kind != pf::AEDescKind::plain || value.type != pf::kTypeUtf8Text) {
        pf::AEDesc coerced;
        if (pf::OSErr err = pf::ae_coerce_desc(value, pf::kTypeText, coerced)) return err;
        utf8 = pf::mac_roman_to_utf8(std::string_view(reinterpret_cast<const char*>(coerced.data.data()), coerced.data.size()));
        return pf::noErr;
    }
    utf8.assign(value.data.begin(), value.data.end());
    const ScriptedText spelled = spell_text_in_scripts(utf8, RunLook{});
    if (spelled.unspelled > 0) {
        refusal = "No installed script spells these characters:" +
                  pf::code_point_names(spelled.unspelled_characters, kNamedCharacters);
        return pf::kAEEventFailedErr;
    }
    return pf::noErr;
}
