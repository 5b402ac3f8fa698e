// The About dialog's texts as published, to hold both front ends against.
#pragma once

namespace velbrin::test {

inline const char *const Disclaimer[] = {
        "",
        "The author will not be held responsible for any damage or loss !",
        "",
        "The author can be contacted at <me@example.org>",
        "",
        "Huge thanks to:",
        "Harbour Phones, 12 Harbour Lane, Exampleton",
        "The Handset Corner, 3 Market Row, Sampleford",
};
inline const char *const Unavailable = "System Information non disponibile";

} // namespace velbrin::test
