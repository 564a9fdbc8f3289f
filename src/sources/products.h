#pragma once
// What each diskless product is, in one place: its name as the operator
// knows it, its database's file name, the query and columns its rows come
// from, and what its MAC texts go through. The products differ only here.
#include <string_view>

namespace venbrook {

enum class SourceKind { Yungengxin, Wangweidashi };  // 云更新, 网维大师

struct SourceProfile {
  SourceKind kind;
  std::string_view productUtf8;  // the product's name, as the operator knows it
  std::string_view fileName;     // exact, letter case counting
  std::string_view query;
  std::string_view nameColumn;
  std::string_view macColumn;
  bool upperCaseMac;
};

inline constexpr SourceProfile kSourceProfiles[] = {
    {SourceKind::Yungengxin, "云更新", "lwdiskless.db", "select * from tPcBaseInfo ORDER BY MACHINE", "MACHINE",
     "mac", false},
    {SourceKind::Wangweidashi, "网维大师", "barserver.db", "select * from tbl_Computer ORDER BY ComputerName",
     "ComputerName", "mac", true},
};

// The product whose database file is called exactly `fileName` (byte for
// byte, letter case counting), or none.
constexpr const SourceProfile* ProductNamed(std::string_view fileName) {
  for (const SourceProfile& profile : kSourceProfiles)
    if (fileName == profile.fileName) return &profile;
  return nullptr;
}

}  // namespace venbrook
