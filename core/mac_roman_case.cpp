// Upper and lower case of Mac Roman characters.
#include "core/number_text.h"
#include "platform/text/text.h"

unsigned char extended_toupper(unsigned char ch) { return pf::to_upper_mac_roman(ch); }

unsigned char extended_tolower(unsigned char ch) { return pf::to_lower_mac_roman(ch); }

bool is_ext_upper(unsigned char ch) { return extended_tolower(ch) != ch; }
