#pragma once

// What the fault tests' driver saves: the old text with each 'o' made 'O',
// and a tail, so that the new version is longer and differs throughout.

#include <string>

namespace savetest {

inline std::string newVersion(std::string text) {
    for (char& c : text) {
        c = c == 'o' ? 'O' : c;
    }
    return text + std::string(1000, '+') + "\n";
}

}  // namespace savetest
