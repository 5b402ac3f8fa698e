// The About dialog's texts as published, to hold both front ends against.
#pragma once

#include <string>

namespace velbrin::test {

inline std::u16string DisclaimerText()
{
    return u"\r\n"
           u"The author will not be held responsible for any damage or loss !\r\n"
           u"\r\n"
           u"The author can be contacted at <me@example.org>\r\n"
           u"\r\n"
           u"Huge thanks to:\r\n"
           u"Harbour Phones, 12 Harbour Lane, Exampleton\r\n"
           u"The Handset Corner, 3 Market Row, Sampleford";
}
inline const char16_t *const Unavailable = u"System Information non disponibile";

} // namespace velbrin::test
