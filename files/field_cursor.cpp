#include "files/field_cursor.h"

void FieldCursor::skip_line_end() {
    if (at_end()) return;
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    ++pos;
}

void FieldCursor::next_field(std::string& field) {
    field.clear();
    if (quotes_count && !at_end() && text[pos] == '"') {
        for (++pos; !at_end(); ++pos) {
            if (text[pos] != '"') {
                field.push_back(text[pos]);
            } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
                field.push_back('"');
                ++pos;
            } else {
                ++pos;
                break;
            }
        }
    }
    const size_t start = pos;
    while (!at_line_end() && text[pos] != separator) ++pos;
    field.append(text.substr(start, pos - start));
}

void FieldCursor::skip_row() {
    std::string ignored;
    for (next_field(ignored); !at_line_end(); next_field(ignored)) ++pos;
    skip_line_end();
}
