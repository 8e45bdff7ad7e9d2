// A cursor over separated text: fields split by a separator, rows by CR, LF
// or CR LF. Where quotes count, a field that begins with a double quote runs
// to its closing quote (separators and line ends inside), a doubled quote
// standing for one; what follows the closing quote up to the separator is
// kept too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct FieldCursor {
    std::string_view text;
    size_t pos = 0;
    char separator = '\t';
    bool quotes_count = false;

    bool at_end() const { return pos >= text.size(); }
    bool at_line_end() const { return at_end() || text[pos] == '\r' || text[pos] == '\n'; }
    // Steps over one line end: CR LF, CR or LF.
    void skip_line_end();
    // Cuts the next field; the cursor stops on the separator or line end after it.
    void next_field(std::string& field);
    // Steps over one row's fields and its line end.
    void skip_row();
};
