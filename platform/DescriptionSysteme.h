#pragma once
// The system a run happens on, as the journal's first lines give it: Windows' own version
// numbers (not the ones a manifest lets the program see), the process's bitness, its session
// and account, and Wine's version when the program runs under Wine.
#include <string>

namespace norvel {

std::wstring DescriptionSysteme();

}  // namespace norvel
