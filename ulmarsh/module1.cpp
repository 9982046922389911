#include "ulmarsh/module1.h"

namespace ulmarsh {

Module1& SharedState() {
    static Module1 state;
    return state;
}

void ToggleOptionState(Module1& m, int index) {
    if (index < 0 || index >= kOptionStateCount) return;
    m.OptionStates[index] = m.OptionStates[index] == 1 ? 0 : 1;
}

}  // namespace ulmarsh
