#pragma once
#include <string_view>

#include "platform/path.h"

namespace venbrook {

enum class SourceKind { Yungengxin, Wangweidashi };  // 云更新, 网维大师

// How one product's database is read. The two products differ only here.
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

// The profile whose file name is exactly the path's file name, or none.
const SourceProfile* ProfileForPath(const Path& path);

}  // namespace venbrook
