// What users see and hear, held against files recorded from the program and
// approved by a person (tests/approved/). A difference fails the test, prints
// the lines that differ and leaves the received file under the build folder's
// received/, with a picture of the differing pixels for an image; tests/approve.sh
// copies received files over the approved ones.
//
// Dumps and images depend on the toolkit and its fonts, so they are kept per
// environment (tests/approved/<environment>/); transcripts hold only what every
// front end shows alike and are shared by all.
#pragma once

#include "window_driver.h"

#include <filesystem>
#include <string>

namespace velbrin::test {

// This run's environment, for example "qt-6.4.2-fusion-1f2e3d4c": the toolkit,
// its style and a digest of the pinned font files.
void SetEnvironment(const std::string &toolkit);
std::string &Environment();
bool EnvironmentApproved(); // without, one test says so rather than every comparison
bool KeepAll(); // matching files are received too (tests/approve.sh)
std::filesystem::path Receive(const std::string &name, bool shared); // made ready for writing

// Text, or a picture (a name ending in ".png") compared byte for byte: each
// environment's pictures are written by one encoder, which gives the same bytes
// for the same pixels.
void ExpectApproved(const std::string &name, const std::string &received, bool shared);

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view utf8);
std::string Quoted(std::u16string_view text); // in quotes, line breaks as \r and \n
std::string Quoted(std::string_view utf8);

} // namespace velbrin::test
