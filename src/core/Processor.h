// What the processor the program runs on can do beyond the instructions it was built for.
#pragma once

namespace vornel {

// True when the processor and the system both support AVX2 (the system must save the wide
// registers), so code built for AVX2 alone may run.
bool processorHasAvx2();

// With false, processorHasAvx2() answers false from then on, so tests can run the code built
// for the older instructions on a machine that has AVX2; true restores the answer.
void allowAvx2(bool allowed);

}  // namespace vornel
