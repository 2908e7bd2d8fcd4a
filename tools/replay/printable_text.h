// Text from a scenario made safe to print in a message: whatever bytes a
// stranger's file holds, the message shows them without acting on the
// terminal that displays it.
#pragma once

#include <string>
#include <string_view>

namespace orvo::replay {

// `text` with every byte that is not part of printable UTF-8 written as
// \xHH: C0 controls, DEL, the C1 controls U+0080 to U+009F, and any byte of an
// invalid sequence (stray continuation bytes, truncated or overlong
// sequences, surrogates, code points above U+10FFFF). Printable UTF-8 is kept
// as it is.
std::string PrintableText(std::string_view text);

}  // namespace orvo::replay
