#pragma once

#include <string>
#include <string_view>
#include <vector>

// The checks a new column definition passes before the new column dialog
// closes, in the order they are made.
// A signature may not end in a backslash: the definition it ends is stored
// with a bar after it, and a definition list is also edited by hand, where
// such a backslash is easily taken for an escape of that bar.
enum class ENewColumnCheck {
    Ok,
    HeaderEmpty,
    HeaderColon,
    HeaderUsed,
    SignatureEmpty,
    SignatureColon,
    SignatureBackslash
};

// available: the definition texts already known; a header is used when one of
// them begins with it and a colon, letter case ignored.
ENewColumnCheck CheckNewColumn(std::string_view header, std::string_view signature,
                               const std::vector<std::string>& available);

// The message for a failed check; header is quoted as typed in the duplicate message.
std::string NewColumnMessage(ENewColumnCheck check, std::string_view header);

// Whether the failed check concerns the header field (else the signature field).
bool IsHeaderCheck(ENewColumnCheck check);
