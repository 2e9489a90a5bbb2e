#pragma once

// The regular correspondences between British and American spelling (colour/color,
// organise/organize, centre/center, travelled/traveled, defence/defense, ...), read from the
// British side. Words that follow no such pattern (grey, tyre, plough) come from a data list.

#include <string>
#include <string_view>
#include <vector>

namespace zrv::words_tool::morphology {

/// The American spellings `british` could be the British spelling of, each made by changing one
/// place in the word, in a fixed order and each once. A caller applies it again to a candidate
/// for words with two such places ("colourised").
std::vector<std::string> americanSpellings(std::string_view british);

}  // namespace zrv::words_tool::morphology
