// 8.3 names for parts of item names that are long, as a DOS-era extractor writes them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zipcore {

// "Long File Name.txt", 1 -> "LONGFI~1.TXT": up to six name characters of the DOS set
// (blanks and extra dots dropped, upper case), "~n", and up to three extension characters.
std::string mangledPart(const std::string& part, int number);

// Gives each long part one short name per run, numbering names that would collide.
class LongNameMangler {
public:
    // Rewrites every long part in place; parts that are already 8.3 stay.
    void mangle(std::vector<std::string>& parts);

private:
    std::map<std::string, std::string> assigned_;  // folder key + long part -> short part
    std::set<std::string> taken_;                  // folder key + short part
};

}  // namespace zipcore
