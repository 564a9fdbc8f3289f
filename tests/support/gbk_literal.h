#pragma once
// GBK bytes of a text written in this UTF-8 source: G("总数") is what the
// core holds for 总数.
#include <string>
#include <string_view>

#include "model/text_codec.h"

inline std::string G(std::string_view utf8) { return venbrook::Gbk(utf8); }
