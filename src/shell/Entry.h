// What the program's top calls once the device is made: the whole run of the shell on the
// platform, answering the exit code.
#pragma once

#include "platform/Platform.h"
#include "shell/RunConfig.h"

namespace vornel {

int entry(Platform& platform, const RunConfig& config);

}  // namespace vornel
