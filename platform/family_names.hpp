#pragma once
// A font's family names in every language, read from its 'name' table. GDI
// tells only the name of the user's locale (OUTLINETEXTMETRIC), yet finds
// the face by either, so the face a name found is told by all of them.
//
//   familyNames(nameTable) // {"IPAPMincho", "IPA P明朝"}

#include <string>
#include <string_view>
#include <vector>

namespace lw {

// The family (name 1) and typographic family (name 16) names of a 'name'
// table's Unicode and Windows records, UTF-8, each once, in the table's
// order. Reading stops where the table is cut short; a record whose text
// lies outside the table is skipped.
std::vector<std::string> familyNames(std::string_view table);

// A family name as fontconfig and GDI compare it: no case, no spaces.
//
//   comparableFamily("IPA P Gothic") // "ipapgothic"
std::string comparableFamily(std::string_view name);

} // namespace lw
