#include "script/machine.h"

#include <cstdlib>

namespace {
Machine* current = nullptr;
}

Machine& TheMachine() {
    if (!current) std::abort();  // installed first thing at start-up
    return *current;
}

Machine* SetMachine(Machine* machine) {
    Machine* previous = current;
    current = machine;
    return previous;
}
